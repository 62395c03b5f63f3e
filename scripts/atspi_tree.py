#!/usr/bin/python3
"""What a screen reader finds in one of the editor's windows, through the AT-SPI bus.

Run by scripts/atspi.sh inside its own D-Bus session and X server. Opens the window by its menu
item, prints its tree (role, name, description, focusable, the label it is labelled by), then
presses a button the times asked and prints the window's labels after each press.
  atspi_tree.py MENU_ITEM WINDOW_TITLE [--set FIELD=TEXT]... [--press BUTTON --times N]
"""
import argparse
import time

import pyatspi


def find(node, wanted):
    if node is None:
        return None
    if wanted(node):
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), wanted)
        if found:
            return found
    return None


def describe(node, depth, lines):
    states = node.getState().getStates()
    labelled = [r.getTarget(0).name for r in node.getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY and r.getNTargets()]
    lines.append('%s%s "%s"%s%s%s' % (
        '  ' * depth, node.getRoleName(), node.name,
        ' desc="%s"' % node.description if node.description else '',
        ' [focusable]' if pyatspi.STATE_FOCUSABLE in states else '',
        ' labelled-by="%s"' % labelled[0] if labelled else ''))
    if node.getRoleName() not in ('list item', 'table cell'):
        for i in range(min(node.childCount, 40)):
            child = node.getChildAtIndex(i)
            if child is not None:
                describe(child, depth + 1, lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('menu_item')
    parser.add_argument('window')
    parser.add_argument('--set', action='append', default=[])
    parser.add_argument('--press')
    parser.add_argument('--times', type=int, default=1)
    args = parser.parse_args()
    app = None
    for _ in range(40):
        app = find(pyatspi.Registry.getDesktop(0), lambda n: n.getRoleName() == 'application')
        if app:
            break
        time.sleep(0.5)
    item = find(app, lambda n: n.getRoleName() == 'menu item'
                and n.name.replace('&', '') == args.menu_item)
    item.queryAction().doAction(0)
    time.sleep(2)
    window = find(app, lambda n: n.name == args.window
                  and n.getRoleName() in ('frame', 'dialog', 'window', 'filler'))
    lines = []
    describe(window, 0, lines)
    print('\n'.join(lines))
    for pair in args.set:
        field, text = pair.split('=', 1)
        box = find(window, lambda n: n.getRoleName() == 'text' and n.name == field)
        box.queryEditableText().setTextContents(text)
    if args.press:
        button = find(window, lambda n: n.getRoleName() == 'push button'
                      and n.name.startswith(args.press))
        for press in range(args.times):
            button.queryAction().doAction(0)
            time.sleep(0.7)
            labels = []
            find(window, lambda n: n.getRoleName() == 'label' and labels.append(n.name) and False)
            print('after pressing %s %d time(s): %s' % (args.press, press + 1, ' | '.join(labels)))


main()
