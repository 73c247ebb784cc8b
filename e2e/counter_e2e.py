#!/usr/bin/env python3
"""The counter driven from outside, as a person would: through its windows, read over the accessibility
bus (AT-SPI) and clicked and typed into with xdotool, on a fresh demo office whose database is read and
moved directly. Started by e2e/run.sh, which provides the display, the session bus and the folders.

Every wait polls with a time-out. On a failure the accessibility tree of each running counter and the
counters' own output are printed, and the exit status is 1.
"""

import datetime
import os
import re
import signal
import sqlite3
import subprocess
import sys
import time
import traceback

import pyatspi

BUILD = os.environ["ORV_BUILD_DIR"]
WORK = os.environ["ORV_E2E_WORK"]
SHOTS = os.path.join(BUILD, "screenshots", "e2e")
DATABASE = os.path.join(WORK, "demo.db")
COUNTER = os.path.join(BUILD, "app", "orvcounter")
LOGIN = "rantunes"  # a demo lawyer with no task running at the start
PASSWORD = "demo"
STORAGE = "%Y-%m-%d %H:%M:%S"  # how the embedded engine stores a date
ENTRIES = "tbProcessos_Trabalhos_Tarefas_Lancamentos"

# The counter's own folders, one set for the whole run: the single instance and the remembered login
# are kept per state folder, and each start below is a start of the same installation.
PROGRAM_ENV = dict(
    os.environ,
    ORV_STATE_DIR=os.path.join(WORK, "state"),
    ORV_REGISTRY_USER_DIR=os.path.join(WORK, "user"),
    ORV_REGISTRY_MACHINE_DIR=os.path.join(WORK, "machine"),
)


class Failure(Exception):
    pass


BEGAN = time.monotonic()


def log(text):
    print(f"e2e: [{time.monotonic() - BEGAN:5.1f} s] {text}", flush=True)


def poll(what, probe, timeout=15.0, interval=0.1):
    """Calls probe until it returns something true and returns that; Failure after timeout seconds.
    Objects on the accessibility bus come and go while windows change, so a probe that raises is
    taken as "not yet"."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Failure:
            raise
        except Exception as error:  # noqa: BLE001 - any bus error means "not there yet"
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


def check(condition, text):
    if not condition:
        raise Failure(text)


# --- the program ---------------------------------------------------------------------------------

class Counter:
    """One start of the real executable, its output kept in a file of its own."""

    starts = 0

    def __init__(self):
        Counter.starts += 1
        self.name = f"start {Counter.starts}"
        self.output_path = os.path.join(WORK, f"counter-{Counter.starts}.log")
        with open(self.output_path, "wb") as output:
            self.process = subprocess.Popen([COUNTER], env=PROGRAM_ENV, stdin=subprocess.DEVNULL,
                                            stdout=output, stderr=subprocess.STDOUT)
        running.append(self)

    @property
    def pid(self):
        return self.process.pid

    def alive(self):
        return self.process.poll() is None

    def wait_end(self, what, timeout=15.0):
        poll(what, lambda: not self.alive(), timeout)
        return self.process.returncode

    def kill(self):
        if self.alive():
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()

    def output(self):
        with open(self.output_path, encoding="utf-8", errors="replace") as output:
            return output.read()

    def application(self):
        """The program's node on the accessibility bus."""
        def find():
            for app in children(pyatspi.Registry.getDesktop(0)):
                if app is not None and app.get_process_id() == self.pid:
                    return app
            check(self.alive(), f"{self.name} ended (status {self.process.returncode})")
            return None
        return poll(f"{self.name} on the accessibility bus", find, timeout=20)


running = []


# --- the accessibility tree ----------------------------------------------------------------------

def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def descendants(node, skip_tables=False):
    for child in children(node):
        if child is None:
            continue
        yield child
        if skip_tables and child.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE):
            continue
        yield from descendants(child, skip_tables)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def text_of(node):
    """What a control shows: its text when it has one, else its name."""
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


def find(root, role, name=None, pattern=None, skip_tables=True):
    """The first showing node with this role and name (or a name or text matching pattern)."""
    for node in descendants(root, skip_tables):
        if node.getRole() != role or not showing(node):
            continue
        if name is not None and node.name != name:
            continue
        if pattern is not None and not (re.search(pattern, node.name or "") or re.search(pattern, text_of(node))):
            continue
        return node
    return None


def window(counter, role, pattern, timeout=20.0):
    """A showing top-level window of the program whose own text or whose contents match pattern."""
    app = counter.application()

    def probe():
        check(counter.alive(), f"{counter.name} ended (status {counter.process.returncode})")
        for top in children(app):
            if top is None or not showing(top):
                continue
            if top.getRole() == role and re.search(pattern, top.name or ""):
                return top
            if top.getRole() == role and any(re.search(pattern, text_of(n) or "")
                                             for n in descendants(top, skip_tables=True)
                                             if n.getRole() == pyatspi.ROLE_LABEL):
                return top
        return None
    return poll(f"a window matching {pattern!r} in {counter.name}", probe, timeout)


def dump(node, depth=0, limit=400, out=None):
    """The tree under node as indented lines (role, name, text, states), at most limit lines."""
    out = [] if out is None else out
    if node is None or len(out) >= limit:
        return out
    try:
        states = node.getState().getStates()
        marks = ",".join(s.value_nick for s in states
                         if s in (pyatspi.STATE_SHOWING, pyatspi.STATE_CHECKED, pyatspi.STATE_FOCUSED))
        text = ""
        if node.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_LABEL, pyatspi.ROLE_TABLE_CELL):
            text = f" text={text_of(node)!r}"
        out.append(f"{'  ' * depth}{node.getRoleName()} name={node.name!r}{text} [{marks}]")
        for child in children(node):
            dump(child, depth + 1, limit, out)
    except Exception as error:  # noqa: BLE001 - a window may close while it is printed
        out.append(f"{'  ' * depth}<gone: {error}>")
    return out


# --- input and pictures ----------------------------------------------------------------------------

def centre(node, dx=None):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x = extents.x + (extents.width // 2 if dx is None else dx)
    return x, extents.y + extents.height // 2


def click(node, dx=None):
    """A left click in the middle of node (or dx pixels from its left edge)."""
    x, y = centre(node, dx)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def type_into(node, text):
    click(node)
    poll(f"the focus in {node.name!r}", lambda: node.getState().contains(pyatspi.STATE_FOCUSED), 5)
    subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace"], check=True)
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


def screenshot(name):
    path = os.path.join(SHOTS, f"{name}.png")
    env = dict(os.environ, QT_ACCESSIBILITY="0", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="0")
    subprocess.run([os.path.join(BUILD, "tools", "orvgrab"), path], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    log(f"screenshot {path}")


# --- the task list -----------------------------------------------------------------------------------

class TaskList:
    """ListView1 read over AT-SPI: one row of cells per task, the check state on the first cell."""

    def __init__(self, window_node):
        self.table = poll("the task list", lambda: find(window_node, pyatspi.ROLE_TREE))
        self.grid = self.table.queryTable()
        headers = [self.grid.getColumnDescription(c) for c in range(self.grid.nColumns)]
        if "Acumulado" not in headers:
            headers = [text_of(self.grid.getColumnHeader(c)) for c in range(self.grid.nColumns)]
        check("Acumulado" in headers, f"no column \"Acumulado\" in the task list: {headers}")
        self.columns = {name: index for index, name in enumerate(headers)}

    def rows(self):
        return self.grid.nRows

    def cell(self, row, column):
        index = column if isinstance(column, int) else self.columns[column]
        return self.grid.getAccessibleAt(row, index)

    def key(self, row):
        """What tells one task from another on the screen: every cell but the two that count."""
        return tuple(text_of(self.cell(row, c)) for name, c in self.columns.items()
                     if name not in ("Contador", "Acumulado"))

    def row_of(self, task):
        for row in range(self.rows()):
            if self.key(row) == task:
                return row
        raise LookupError(f"the task {named(task)} is not in the list")

    def task_cell(self, task):
        return self.cell(self.row_of(task), 0)

    def value(self, task, column):
        return text_of(self.cell(self.row_of(task), column))

    def idle_task(self):
        """A task not ticked whose cells no other row repeats."""
        keys = [self.key(row) for row in range(self.rows())]
        for row, key in enumerate(keys):
            if keys.count(key) == 1 and not checked(self.cell(row, 0)):
                return key
        raise Failure("no task in the list is both unticked and told apart from the others")


def named(task):
    """A task's key as the log shows it: its description and its dossier."""
    return f"{task[0]!r} ({task[3]})"


def hours(text):
    """A number as the list shows it ("1 234,50"); a blank cell is 0."""
    text = re.sub(r"[\s.]", "", text)
    return float(text.replace(",", ".")) if text else 0.0


def tick(tasks, task, want):
    """Clicks the task's check box and waits until the list shows the wanted state."""
    cell = tasks.task_cell(task)
    click(cell, dx=10)
    poll(f"{named(task)} {'ticked' if want else 'unticked'}", lambda: checked(tasks.task_cell(task)) == want, 10)


# --- the database ------------------------------------------------------------------------------------

def database():
    return sqlite3.connect(DATABASE, timeout=10)


def running_entries():
    with database() as db:
        return {row[0]: row[1:] for row in db.execute(
            f"SELECT lancamento_id, tarefa_id, data FROM {ENTRIES} WHERE inprogress <> 0")}


def entry(entry_id):
    with database() as db:
        db.row_factory = sqlite3.Row
        return db.execute(f"SELECT * FROM {ENTRIES} WHERE lancamento_id = ?", (entry_id,)).fetchone()


def move_start(entry_id, minutes):
    """Moves the entry's start back, as if that many minutes had passed since it was ticked."""
    start = datetime.datetime.strptime(entry(entry_id)["data"], STORAGE)
    moved = (start - datetime.timedelta(minutes=minutes)).strftime(STORAGE)
    with database() as db:
        db.execute(f"UPDATE {ENTRIES} SET data = ? WHERE lancamento_id = ?", (moved, entry_id))
    return moved


def new_running_entry(before):
    def probe():
        fresh = set(running_entries()) - set(before)
        return fresh.pop() if len(fresh) == 1 else None
    return poll("a new running entry in the database", probe, 10)


# --- the scenario --------------------------------------------------------------------------------------

def login_dialog(counter):
    dialog = window(counter, pyatspi.ROLE_DIALOG, r"^Login Orv Counter$")
    user = poll("the user field", lambda: find(dialog, pyatspi.ROLE_TEXT, "Nome utilizador"))
    password = poll("the password field", lambda: find(dialog, pyatspi.ROLE_PASSWORD_TEXT, "Palavra-passe"))
    record = find(dialog, pyatspi.ROLE_CHECK_BOX, "Recordar a palavra-passe")
    ok = find(dialog, pyatspi.ROLE_PUSH_BUTTON, "OK")
    check(record and ok, "the login dialog has no \"Recordar a palavra-passe\" or \"OK\"")
    return dialog, user, password, record, ok


def fill_login(counter, password_text, remember):
    dialog, user, password, record, ok = login_dialog(counter)
    type_into(user, LOGIN)
    poll("the typed user name", lambda: text_of(user) == LOGIN, 5)
    type_into(password, password_text)
    if checked(record) != remember:
        click(record)
        poll("\"Recordar a palavra-passe\" changed", lambda: checked(record) == remember, 5)
    return ok


def refused_login():
    log("a wrong password: the message, then the program ends")
    first = Counter()
    ok = fill_login(first, "wrong-" + PASSWORD, remember=False)
    screenshot("01-login")
    click(ok)
    message = window(first, pyatspi.ROLE_ALERT, r"inválidos")
    screenshot("02-login-refused")
    click(poll("the message's OK", lambda: find(message, pyatspi.ROLE_PUSH_BUTTON, "OK")))
    status = first.wait_end("the program to end after the refused login")
    check(status == 0, f"the refused login ended the program with status {status}")


def counter_window(counter):
    # A plain top-level widget: Qt gives it no role of its own.
    return window(counter, pyatspi.ROLE_FILLER, r"^Contador de Tarefas$")


def accepted_login():
    log("a fresh start: the right password, remembered")
    second = Counter()
    ok = fill_login(second, PASSWORD, remember=True)
    click(ok)
    frame = counter_window(second)
    tasks = TaskList(frame)
    poll("tasks in the list", tasks.rows, 10)
    screenshot("03-counter")
    return second, tasks


def count_two_minutes(tasks):
    task = tasks.idle_task()
    before_total = tasks.value(task, "Acumulado")
    log(f"ticking {named(task)} (Acumulado {before_total!r})")
    before = running_entries()
    tick(tasks, task, True)
    entry_id = new_running_entry(before)
    screenshot("04-ticked")
    moved = move_start(entry_id, 2)
    log(f"entry {entry_id} now started at {moved}; unticking")
    tick(tasks, task, False)

    closed = poll("the entry closed in the database", lambda: (lambda e: e if e["inprogress"] == 0 else None)(
        entry(entry_id)), 10)
    check(closed["unidades"] == 2, f"the entry was closed with {closed['unidades']} minutes, not 2")
    check(closed["data_fim"], "the closed entry has no end")
    after_total = poll("\"Acumulado\" grown by 2,00",
                       lambda: (lambda t: t if abs(hours(t) - hours(before_total) - 2) < 0.001 else None)(
                           tasks.value(task, "Acumulado")), 10)
    log(f"entry {entry_id} closed with 2 minutes; Acumulado {before_total!r} -> {after_total!r}")
    screenshot("05-unticked")
    return task


def survive_kill(counter, tasks, task):
    log(f"ticking {named(task)} again, then SIGKILL")
    # Two clicks on one place within the double-click time are a double click, which opens the task.
    time.sleep(0.6)
    before = running_entries()
    tick(tasks, task, True)
    entry_id = new_running_entry(before)
    counter.kill()
    # The program was down for seven minutes: a count from the stored start shows them.
    moved = move_start(entry_id, 7)
    log(f"killed; entry {entry_id} started at {moved}; starting again with the remembered login")

    third = Counter()
    frame = counter_window(third)
    tasks = TaskList(frame)
    poll(f"{named(task)} in the list", lambda: tasks.row_of(task) >= 0, 10)
    check(checked(tasks.task_cell(task)), f"{named(task)} is not ticked after the restart")
    shown = poll("the counter counting from the stored start",
                 lambda: (lambda t: t if re.fullmatch(r"0[78]:\d\d", t) else None)(tasks.value(task, "Contador")), 10)
    log(f"{named(task)} still ticked after the restart, counting {shown}")
    check(entry(entry_id)["inprogress"] != 0, "the running entry was closed by the restart")
    screenshot("06-restarted")
    return third, frame, entry_id


def outage_heals(counter, frame, task, entry_id):
    """The database file moved away under the running counter and back. Meanwhile the list keeps every row and the
    task counting, and says the database is away; the untick made meanwhile waits, with one message. Once the file
    is back the list catches up with no click, and the entry is closed once, with the minutes up to the untick."""
    tasks = TaskList(frame)
    rows = tasks.rows()
    aside = DATABASE + ".aside"
    log(f"moving the database away, then unticking {named(task)}")
    os.rename(DATABASE, aside)
    click(tasks.task_cell(task), dx=10)
    unticked = datetime.datetime.now()
    message = window(counter, pyatspi.ROLE_ALERT, r"inacessível")
    screenshot("09-outage-message")
    click(poll("the message's OK", lambda: find(message, pyatspi.ROLE_PUSH_BUTTON, "OK")))
    line = poll("the line saying the database is away", lambda: find(frame, pyatspi.ROLE_LABEL, pattern=r"inacessível"))
    for _ in range(20):  # two seconds away, the list watched all along
        check(tasks.rows() == rows, f"the list shows {tasks.rows()} rows while the database is away, not {rows}")
        check(checked(tasks.task_cell(task)), f"{named(task)} shown unticked while its entry still runs")
        time.sleep(0.1)
    screenshot("10-outage")
    os.rename(aside, DATABASE)
    back = time.monotonic()
    log("the database is back; waiting for the list, with no click")
    poll(f"{named(task)} shown unticked", lambda: not checked(tasks.task_cell(task)), 20)
    caught_up = time.monotonic() - back
    poll("the line gone", lambda: not showing(line), 5)
    closed = entry(entry_id)
    check(closed["inprogress"] == 0 and closed["data_fim"], f"entry {entry_id} still runs after the catch-up")
    start = datetime.datetime.strptime(closed["data"], STORAGE)
    expected = round((unticked - start).total_seconds() / 60)
    check(abs(closed["unidades"] - expected) <= 1,
          f"entry {entry_id} closed with {closed['unidades']} minutes, not the {expected} up to the untick")
    end = datetime.datetime.strptime(closed["data_fim"], STORAGE)
    check(abs((end - unticked).total_seconds()) <= 2.5,
          f"entry {entry_id} ends at {end}, not at the untick ({unticked:%H:%M:%S})")
    log(f"caught up {caught_up:.1f} s after the file came back; entry {entry_id} closed once with "
        f"{closed['unidades']} minutes, ending at the untick")
    screenshot("11-caught-up")


def close_window(xid):
    """Asks the window to close, as a window manager's close button does (WM_DELETE_WINDOW)."""
    import ctypes

    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = x11.XOpenDisplay(None)
    check(display, "cannot open the display")
    event = Event()
    event.client.type = 33  # ClientMessage
    event.client.window = xid
    event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.client.format = 32
    event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, xid, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def second_instance(first, frame):
    log("closing the window, then a second start brings it back")
    windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(first.pid), "--name", "."],
                             capture_output=True, text=True).stdout.split()
    check(len(windows) == 1, f"expected one visible window of the counter, found {windows}")
    close_window(int(windows[0]))
    # Without a notification area (as here) the close box minimises the window instead of hiding it, so the
    # task bar still reaches it; with no window manager to iconify it, it may simply stay on screen.
    time.sleep(0.5)
    check(first.alive(), "closing the window ended the program")
    screenshot("07-closed")

    second = Counter()
    status = second.wait_end("the second start to end")
    check(status == 0, f"the second start ended with status {status}")
    poll("the first window back", lambda: showing(frame), 10)
    check(first.alive(), "the first counter ended")
    screenshot("08-back")


def report_failure(error):
    print(f"e2e: FAILED: {error}", file=sys.stderr)
    for counter in running:
        state = "running" if counter.alive() else f"ended with status {counter.process.returncode}"
        print(f"--- {counter.name} (pid {counter.pid}, {state}) ---",
              file=sys.stderr)
        if counter.alive():
            try:
                for app in children(pyatspi.Registry.getDesktop(0)):
                    if app is not None and app.get_process_id() == counter.pid:
                        print("\n".join(dump(app)), file=sys.stderr)
            except Exception as dump_error:  # noqa: BLE001
                print(f"(no accessibility tree: {dump_error})", file=sys.stderr)
        print(counter.output(), file=sys.stderr)


def main():
    os.makedirs(SHOTS, exist_ok=True)
    for old in os.listdir(SHOTS):
        if old.endswith(".png"):
            os.remove(os.path.join(SHOTS, old))
    subprocess.run([os.path.join(BUILD, "tools", "orvdemo"), "--database", DATABASE], env=PROGRAM_ENV,
                   check=True, stdout=subprocess.DEVNULL)
    started = time.monotonic()
    try:
        refused_login()
        counter, tasks = accepted_login()
        task = count_two_minutes(tasks)
        counter, frame, entry_id = survive_kill(counter, tasks, task)
        outage_heals(counter, frame, task, entry_id)
        second_instance(counter, frame)
    except Exception as error:  # noqa: BLE001 - whatever went wrong, show what the screen showed
        if not isinstance(error, Failure):
            traceback.print_exc()
        report_failure(error)
        return 1
    finally:
        for counter in running:
            counter.kill()
    log(f"passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
