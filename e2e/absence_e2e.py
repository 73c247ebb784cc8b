"""The real counter notices an absence while a task counts: a task is ticked, nobody touches the virtual
display for longer than the (lowered) threshold, the mouse moves again, the question appears, "Parar às …" is
chosen, and the entry in the database ends at the moment of the last input before the absence.

Run by e2e/run.sh with this file's name; shares the helpers of counter_e2e.py."""

import datetime
import os
import subprocess
import sys
import time
import traceback

# Read by the program at its start; set before the helpers copy the environment.
THRESHOLD = 15
os.environ["ORV_ABSENCE_SECONDS"] = str(THRESHOLD)

import pyatspi  # noqa: E402

import counter_e2e as e  # noqa: E402


def counted_minutes(start, end):
    """Whole minutes, a half going to the even neighbour, as the counter books them."""
    return round((end - start).total_seconds() / 60)


def absence(tasks):
    task = tasks.idle_task()
    before = e.running_entries()
    e.log(f"ticking {e.named(task)}")
    # The tick's click is the last input before the absence: its moment lies between these two readings, which a
    # loaded machine can set seconds apart.
    before_tick = datetime.datetime.now().replace(microsecond=0)
    e.tick(tasks, task, True)
    after_tick = datetime.datetime.now().replace(microsecond=0)
    entry_id = e.new_running_entry(before)
    moved = e.move_start(entry_id, 10)
    e.log(f"entry {entry_id} started at {moved}; no input for {THRESHOLD + 5} s")
    time.sleep(THRESHOLD + 5)
    subprocess.run(["xdotool", "mousemove_relative", "--", "5", "5"], check=True)
    e.log("back: the mouse moved")

    question = e.window(e.running[-1], pyatspi.ROLE_ALERT, r"ausente", timeout=20)
    e.screenshot("10-absence-question")
    stop = e.poll("the answer \"Parar às …\"",
                  lambda: e.find(question, pyatspi.ROLE_PUSH_BUTTON, pattern=r"^Parar às \d\d:\d\d$"), 5)
    e.click(stop)

    closed = e.poll("the entry closed in the database",
                    lambda: (lambda row: row if row["inprogress"] == 0 else None)(e.entry(entry_id)), 10)
    end = datetime.datetime.strptime(closed["data_fim"], e.STORAGE)
    start = datetime.datetime.strptime(closed["data"], e.STORAGE)
    # The click's own time is known to the second the tools take around it.
    slack = datetime.timedelta(seconds=1)
    e.check(before_tick - slack <= end <= after_tick + slack,
            f"the entry ends at {end}, not at the last input before the absence ({before_tick} to {after_tick})")
    e.check(closed["unidades"] == counted_minutes(start, end),
            f"the entry was booked with {closed['unidades']} minutes from {start} to {end}")
    e.log(f"entry {entry_id} closed at {end} with {closed['unidades']} minutes")


def main():
    os.makedirs(e.SHOTS, exist_ok=True)
    subprocess.run([os.path.join(e.BUILD, "tools", "orvdemo"), "--database", e.DATABASE], env=e.PROGRAM_ENV,
                   check=True, stdout=subprocess.DEVNULL)
    started = time.monotonic()
    try:
        _counter, tasks = e.accepted_login()
        absence(tasks)
    except Exception as error:  # noqa: BLE001 - whatever went wrong, show what the screen showed
        if not isinstance(error, e.Failure):
            traceback.print_exc()
        e.report_failure(error)
        return 1
    finally:
        for counter in e.running:
            counter.kill()
    e.log(f"passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
