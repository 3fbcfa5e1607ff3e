#!/usr/bin/python3
"""Reads the program as a screen reader does, through AT-SPI.

accessibility_tree.py controls: the book's pressable controls are named buttons, and the
    input and result boxes are named.
accessibility_tree.py lookup WORD MEANING: types WORD and Enter into the input box; the result
    box then holds MEANING, and a reader heard the new result once.
accessibility_tree.py press NAME: presses the book's button NAME through its action.
Prints what it found; exits 1 with the reason when the program does not read as it should.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

INPUT = "查詢字串"
RESULT = "查詢結果"
TITLE = "羽筆字典 Quillbook"
BOOK_BUTTONS = ["準確", "所有", "發音", "說明", "關於", "離開程式", "縮小到常駐圖示"]


def fail(reason):
    print("FAIL: " + reason, file=sys.stderr)
    sys.exit(1)


def program():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Quillbook":
                return app
        time.sleep(0.1)
    fail("the program is not on the accessibility bus")


def everything(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from everything(child)


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return {}
    return {action.getName(i): i for i in range(action.nActions)}


def book():
    """The main window: the one holding the input box."""
    for window in program():
        if window is not None and any(n.name == INPUT for n in everything(window)):
            return window
    fail("no window holds a control named " + INPUT)


def one(window, name, role):
    found = [n for n in everything(window) if n.name == name and n.getRole() == role]
    if len(found) != 1:
        fail(f"{len(found)} controls named {name!r} of role {pyatspi.Role(role)}")
    return found[0]


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def check_controls():
    pressable = [n for n in everything(program()) if "Press" in actions(n)]
    unnamed = [n.getRoleName() for n in pressable if not n.name]
    if unnamed:
        fail(f"pressable controls without a name: {unnamed}")
    window = book()
    buttons = [n.name for n in everything(window)
               if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and "Press" in actions(n)]
    print("the book's buttons:", buttons)
    missing = [name for name in BOOK_BUTTONS if name not in buttons]
    if missing:
        fail(f"no pressable button named {missing}")
    one(window, INPUT, pyatspi.ROLE_TEXT)
    one(window, RESULT, pyatspi.ROLE_TEXT)
    title = one(window, TITLE, pyatspi.ROLE_TEXT)
    if "Quillbook" not in text_of(title):
        fail("the title box reads " + repr(text_of(title)))


def look_up(word, meaning):
    result = one(book(), RESULT, pyatspi.ROLE_TEXT)
    heard = []

    def on_insert(event):
        if event.source.name == RESULT:
            heard.append(event.any_data)

    def type_word():
        subprocess.run(["xdotool", "type", "--delay", "40", word], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        GLib.timeout_add(3000, pyatspi.Registry.stop)
        return False

    pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")
    GLib.timeout_add(500, type_word)
    pyatspi.Registry.start()
    shown = text_of(result)
    print("the result box reads:", repr(shown))
    if meaning not in shown:
        fail(f"the result box does not hold {meaning!r}")
    print("insertions heard:", [h[:20] for h in heard])
    if len(heard) != 1 or meaning not in heard[0]:
        fail(f"one lookup was announced as {len(heard)} insertions")


def press(name):
    button = one(book(), name, pyatspi.ROLE_PUSH_BUTTON)
    button.queryAction().doAction(actions(button)["Press"])


def main(args):
    if not args:
        check_controls()
    elif args[0] == "lookup":
        look_up(args[1], args[2])
    elif args[0] == "press":
        press(args[1])
    else:
        fail("unknown request " + args[0])


if __name__ == "__main__":
    main(sys.argv[1:])
