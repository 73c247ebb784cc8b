#!/usr/bin/env python3
"""The counter on a real desktop: a window manager (openbox) and, unless told otherwise, a notification area
(trayer), both started here on the display e2e/run.sh gives, after counter_e2e.py has left a demo office with
a remembered login. Checked from outside, through the X server and the accessibility bus: the window's frame
inside the available area in its bottom right corner; closing it hides it to the tray (without a tray,
minimises it) and a second start brings it back; with --statistics also the calendar in Portuguese, a date
typed into a picker and a header clicked twice.

    desktop_e2e.py --size 1920x1080 [--no-tray] [--statistics]
"""

import argparse
import datetime
import os
import re
import subprocess
import sys
import time
import traceback

import pyatspi
from gi.repository import GLib

import counter_e2e as e2e
from counter_e2e import Counter, Failure, check, click, log, poll, screenshot

MONTHS = ["janeiro", "fevereiro", "março", "abril", "maio", "junho", "julho", "agosto", "setembro", "outubro",
          "novembro", "dezembro"]
ENGLISH_MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August", "September",
                  "October", "November", "December"]

helpers = []  # the window manager and the tray, ended at the end


def run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout


def start_helper(*command):
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    helpers.append(process)
    return process


def start_desktop(tray):
    start_helper("openbox", "--sm-disable")
    poll("the window manager", lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 15)
    if tray:
        # A panel along the bottom edge holding the notification area; it takes its strip off the work area.
        start_helper("trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "120",
                     "--height", "28", "--SetDockType", "true", "--SetPartialStrut", "true", "--expand", "false")
        poll("the notification area", lambda: run("xdotool", "search", "--class", "trayer").strip(), 15)
        poll("the work area without the panel", lambda: work_area()[3] < screen_size()[1], 10)


def screen_size():
    width, height = run("xdotool", "getdisplaygeometry").split()
    return int(width), int(height)


def work_area():
    """The available area the window manager publishes: x, y, width, height."""
    found = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)", run("xprop", "-root", "_NET_WORKAREA"))
    check(found, "the window manager publishes no work area")
    return tuple(int(n) for n in found.groups())


def window_id(counter):
    """The X window of the counter's main window (a top-level client the window manager framed)."""
    def probe():
        for candidate in run("xdotool", "search", "--onlyvisible", "--name", "Contador de Tarefas").split():
            pid = re.search(r"= (\d+)", run("xprop", "-id", candidate, "_NET_WM_PID"))
            if pid and int(pid.group(1)) == counter.pid:
                return int(candidate)
        return None
    return poll("the counter's window on the X server", probe, 20)


def frame_of(xid):
    """The window's frame on the screen (the window manager's border and title included): x, y, w, h."""
    info = run("xwininfo", "-id", str(xid))
    field = lambda name: int(re.search(rf"{name}:\s*(-?\d+)", info).group(1))
    x, y, w, h = field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height")
    extents = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)", run("xprop", "-id", str(xid), "_NET_FRAME_EXTENTS"))
    left, right, top, bottom = (int(n) for n in extents.groups()) if extents else (0, 0, 0, 0)
    return x - left, y - top, w + left + right, h + top + bottom


def state_of(xid):
    """"Normal", "Iconic" or "Withdrawn" (hidden), as the window manager keeps it."""
    found = re.search(r"window state: (\w+)", run("xprop", "-id", str(xid), "WM_STATE"))
    return found.group(1) if found else "Withdrawn"


def viewable(xid):
    return "IsViewable" in run("xwininfo", "-id", str(xid))


def check_placed(xid, label):
    area_x, area_y, area_w, area_h = work_area()
    def inside():
        x, y, w, h = frame_of(xid)
        return (x, y, w, h) if (x >= area_x and y >= area_y and x + w <= area_x + area_w
                                and y + h <= area_y + area_h) else None
    try:
        x, y, w, h = poll("the window's frame inside the work area", inside, 10)
    except Failure:
        raise Failure(f"the frame {frame_of(xid)} is not inside the work area {work_area()} ({label})")
    check(abs(area_x + area_w - (x + w)) <= 1 and abs(area_y + area_h - (y + h)) <= 1,
          f"the frame {x},{y} {w}x{h} is not in the bottom right corner of the work area {work_area()}")
    log(f"{label}: frame {x},{y} {w}x{h} inside the work area {area_x},{area_y} {area_w}x{area_h}")


def closed_and_back(counter, xid, tray, label):
    e2e.close_window(xid)
    if tray:
        poll("the window hidden to the tray", lambda: not viewable(xid), 10)
    else:
        poll("the window minimised", lambda: state_of(xid) == "Iconic", 10)
    check(counter.alive(), "closing the window ended the program")
    screenshot(f"{label}-closed")
    second = Counter()
    status = second.wait_end("the second start to end")
    check(status == 0, f"the second start ended with status {status}")
    poll("the window back on the screen", lambda: viewable(xid) and state_of(xid) == "Normal", 10)
    log(f"{label}: closed ({'hidden' if tray else 'minimised'}) and brought back by a second start")
    screenshot(f"{label}-back")


# --- the statistics ------------------------------------------------------------------------------------------

ENTRIES = e2e.ENTRIES


def add_entries():
    """Entries of the logged-in lawyer over two months, whose minutes sort differently as text and as numbers."""
    with e2e.database() as db:
        columns = [row[1] for row in db.execute(f"PRAGMA table_info({ENTRIES})")]
        last = db.execute(f"SELECT * FROM {ENTRIES} WHERE inprogress = 0 ORDER BY lancamento_id DESC LIMIT 1").fetchone()
        check(last, "no closed entry to copy")
        first_id = db.execute(f"SELECT MAX(lancamento_id) FROM {ENTRIES}").fetchone()[0] + 1
        today = datetime.date.today()
        for n, (days, minutes) in enumerate([(3, 100), (35, 11), (20, 10), (50, 1234)]):
            row = dict(zip(columns, last))
            start = datetime.datetime.combine(today - datetime.timedelta(days=days), datetime.time(10, 0))
            row.update(lancamento_id=first_id + n, data=start.strftime(e2e.STORAGE), unidades=minutes,
                       data_fim=(start + datetime.timedelta(minutes=minutes)).strftime(e2e.STORAGE))
            db.execute(f"INSERT INTO {ENTRIES} ({', '.join(row)}) VALUES ({', '.join('?' * len(row))})",
                       list(row.values()))
    return today - datetime.timedelta(days=60)


def statistics(counter, frame):
    start_day = add_entries()
    tab = poll("the tab \"As minhas Estatisticas\"",
               lambda: e2e.find(frame, pyatspi.ROLE_PAGE_TAB, "As minhas Estatisticas"))
    click(tab)
    picker = poll("the start date picker", lambda: e2e.find(frame, pyatspi.ROLE_SPIN_BUTTON, "Data Início"))

    # The calendar, from the button at the picker's right end, in Portuguese whatever LC_ALL says. Qt keeps pop-ups
    # out of the application's windows on the accessibility bus: the calendar is reached from the focus it takes.
    focused = []
    def on_focus(event):
        if event.detail1:
            focused.append(event.source)
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    try:
        extents = picker.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        click(picker, dx=extents.width - 7)
        shown_month = MONTHS[datetime.date.today().month - 1]
        def month_shown():
            GLib.MainContext.default().iteration(False)
            for node in reversed(focused):
                popup = node
                while popup.parent is not None and popup.parent.getRole() != pyatspi.ROLE_APPLICATION:
                    popup = popup.parent
                names = [(n.name or "") + " " + e2e.text_of(n) for n in e2e.descendants(popup)]
                english = [name for name in names if any(month in name for month in ENGLISH_MONTHS)]
                check(not english, f"the calendar shows English: {english[:3]}")
                if any(shown_month in name.lower() for name in names):
                    return shown_month
            return None
        poll(f"the calendar showing \"{shown_month}\"", month_shown, 10, interval=0.05)
    finally:
        pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    log(f"the calendar shows \"{shown_month}\" under LC_ALL={os.environ.get('LC_ALL')}")
    screenshot("desktop-calendar")
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    time.sleep(0.3)

    # A date typed by hand, digits only, over the day.
    typed = start_day.strftime("%d%m%Y")
    click(picker, dx=8)
    poll("the focus back in the picker", lambda: picker.getState().contains(pyatspi.STATE_FOCUSED), 5)
    subprocess.run(["xdotool", "type", "--delay", "30", typed], check=True)
    subprocess.run(["xdotool", "key", "Return"], check=True)
    want = start_day.strftime("%d-%m-%Y")
    poll(f"the picker showing {want}", lambda: e2e.text_of(picker) == want, 5)
    log(f"typed {typed}: the picker shows {e2e.text_of(picker)}")

    entries = poll("the entries list", lambda: e2e.find(
        e2e.find(frame, pyatspi.ROLE_FILLER, "As minhas Estatisticas"), pyatspi.ROLE_TREE, skip_tables=False))
    grid = entries.queryTable()
    poll("the typed date's entries listed", lambda: grid.nRows >= 5, 10)
    headers = [e2e.text_of(grid.getColumnHeader(c)) for c in range(grid.nColumns)]
    minutes_column = headers.index("Minutos")
    minutes = lambda: [e2e.hours(e2e.text_of(grid.getAccessibleAt(r, minutes_column))) for r in range(grid.nRows)]
    header = grid.getColumnHeader(minutes_column)
    click(header)
    poll("the minutes going up", lambda: minutes() == sorted(minutes()), 5)
    # Past Qt's double-click time: a second click within it is a double click, which sorts nothing (the order the
    # list happened to have could already pass for going up).
    time.sleep(0.6)
    click(header)
    poll("the minutes going down", lambda: minutes() == sorted(minutes(), reverse=True), 5)
    shown = minutes()
    log(f"\"Minutos\" clicked twice: {len(shown)} rows, {shown[:3]} ... {shown[-3:]}")
    screenshot("desktop-statistics-sorted")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--size", required=True)
    parser.add_argument("--no-tray", action="store_true")
    parser.add_argument("--statistics", action="store_true")
    options = parser.parse_args()
    tray = not options.no_tray
    label = f"desktop-{options.size}-{'tray' if tray else 'no-tray'}"
    began = time.monotonic()
    try:
        start_desktop(tray)
        counter = Counter()
        frame = e2e.counter_window(counter)
        xid = window_id(counter)
        check_placed(xid, label)
        screenshot(f"{label}-window")
        closed_and_back(counter, xid, tray, label)
        check_placed(xid, label + " after coming back")
        if options.statistics:
            statistics(counter, frame)
    except Exception as error:  # noqa: BLE001 - whatever went wrong, show what the screen showed
        if not isinstance(error, Failure):
            traceback.print_exc()
        e2e.report_failure(error)
        return 1
    finally:
        for counter in e2e.running:
            counter.kill()
        for helper in helpers:
            helper.kill()
    log(f"{label} passed in {time.monotonic() - began:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
