"""What a screen reader reads of the program, over the accessibility bus: the
end-to-end scripts' one reader of the accessibility tree.

  accessible.py ready                starts the bus (through the session bus)
                                     and prints "ready" once it answers
  accessible.py items ROLE NAME      the names of the children of the program's
                                     object of that role and name (a list's lines)
  accessible.py enabled ROLE NAME    "enabled" when that object is (a menu item)
  accessible.py text ROLE NAME       that object's text, line by line (a text
                                     box: the details panel)
  accessible.py focused ROLE NAME    "role|name" of each object inside that one
                                     that has the keyboard focus (a dialog's)
  accessible.py rows TABLE           the table's rows, a line each, its cells'
                                     names joined by "|"
  accessible.py headers TABLE        its column headings, joined by "|"
  accessible.py sorted TABLE         "heading: how" of the heading that says
                                     how the table is sorted
  accessible.py checked TABLE        the rows whose first cell is checked (its name)
  accessible.py cell TABLE ROW COL   "row heading|column heading|cell" (0-based)

TABLE is the name of a table or tree table. Prints nothing while the program,
or the object, is not on the bus yet.
"""
import sys

import pyatspi

TABLE_ROLES = ("table", "tree table")
# Roles as the scripts name them, whatever the bus's version calls them (a
# newer one says "button" for a push button).
ROLE_NAMES = {pyatspi.ROLE_PUSH_BUTTON: "push button"}


def role_name(node):
    return ROLE_NAMES.get(node.getRole(), node.getRoleName())


def find(node, roles, name):
    if node is None:
        return None
    if role_name(node) in roles and node.name == name:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), roles, name)
        if found:
            return found
    return None


def program_object(roles, name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Vantrel":
            found = find(app, roles, name)
            if found:
                return found
    return None


def has(node, state):
    return node.getState().contains(state)


def focused(node):
    for found in pyatspi.utils.findAllDescendants(node, lambda n: has(n, pyatspi.STATE_FOCUSED)):
        print(role_name(found) + "|" + found.name)


def text(node):
    box = node.queryText()
    for line in box.getText(0, box.characterCount).splitlines():
        print(line)


def object_query(query, node):
    if query == "items":
        for i in range(node.childCount):
            print(node.getChildAtIndex(i).name)
    elif query == "enabled" and has(node, pyatspi.STATE_ENABLED):
        print("enabled")
    elif query == "text":
        text(node)
    elif query == "focused":
        focused(node)


def table_query(query, table, args):
    heading = table.getColumnHeader
    if query == "cell":
        row, col = int(args[0]), int(args[1])
        print(table.getRowHeader(row).name + "|" + heading(col).name + "|" + table.getAccessibleAt(row, col).name)
    elif query == "headers":
        print("|".join(h.name if h else "?" for h in map(heading, range(table.nColumns))))
    elif query == "sorted":
        for h in map(heading, range(table.nColumns)):
            if h and h.description:
                print(h.name + ": " + h.description)
    else:
        for r in range(table.nRows):
            cells = [table.getAccessibleAt(r, c) for c in range(table.nColumns)]
            if query == "rows":
                print("|".join(cell.name for cell in cells))
            elif query == "checked" and has(cells[0], pyatspi.STATE_CHECKED):
                print(cells[0].name)


def main():
    query = sys.argv[1]
    if query == "ready":
        pyatspi.Registry.getDesktop(0)
        print("ready")
    elif query in ("items", "enabled", "text", "focused"):
        node = program_object((sys.argv[2],), sys.argv[3])
        if node is not None:
            object_query(query, node)
    else:
        node = program_object(TABLE_ROLES, sys.argv[2])
        if node is not None:
            table_query(query, node.queryTable(), sys.argv[3:])


main()
