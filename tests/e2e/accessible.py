"""What a screen reader reads of the program, over the accessibility bus.

  accessible.py ready              starts the bus (through the session bus)
                                   and prints "ready" once it answers
  accessible.py items ROLE NAME    the names of the children of the program's
                                   object of that role and name (a list's lines)
  accessible.py enabled ROLE NAME  "enabled" when that object is (a menu item)
  accessible.py text ROLE NAME     the first line of that object's text (a
                                   text box: the details panel)

Prints nothing while the program, or the object, is not on the bus yet.
"""
import sys

import pyatspi


def find(node, role, name):
    if node is None:
        return None
    if node.getRoleName() == role and node.name == name:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), role, name)
        if found:
            return found
    return None


def program_object(role, name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Vantrel":
            return find(app, role, name)
    return None


def main():
    query = sys.argv[1]
    if query == "ready":
        pyatspi.Registry.getDesktop(0)
        print("ready")
        return
    node = program_object(sys.argv[2], sys.argv[3])
    if node is None:
        return
    if query == "items":
        for i in range(node.childCount):
            print(node.getChildAtIndex(i).name)
    elif query == "enabled" and node.getState().contains(pyatspi.STATE_ENABLED):
        print("enabled")
    elif query == "text":
        lines = node.queryText().getText(0, -1).splitlines()
        if lines:
            print(lines[0])


main()
