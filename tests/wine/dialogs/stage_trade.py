"""The player trade (dialog 108), against the fake server's trade behaviour:

1. 0x20 "Bob" and 0x21 with Bob's two items in one frame: dialog 108 opens
   with button 109 reading "Lock".
2. The backpack's single flower (container 0, slot z 2) dragged onto an empty
   part of the own box: the move 0x0E names the trade's own side with index
   255; the server puts the flower into the own offer.
3. A right click on the flower takes it back (1F 04 00 00) and uses nothing
   (no 0x0F). "Lock" sends 1F 02; the server's answer (both locked) turns 109
   into an enabled "Accept", whose click sends 1F 03.
4. 0x22 and 0x20 "Trader2" in one frame leave one dialog 108 reading "Lock";
   its "Cancel" sends 1F 01 (the server ends the trade).
5. 0x22: no trade window remains.
"""
from winedriver import Failure

import sidewindows
import trade

TRADE, LOCK, CANCEL = 108, 109, 110
MOVE, USE, TRADE_COMMAND = 0x0E, 0x0F, 0x1F


def run(s):
    partner = s.behaviour(trade.Trade)

    # 1. A trade with Bob and his offer.
    partner.start(s.server, b"Bob", with_items=True)
    s.wait_control(LOCK, 'the trade window with "Lock"', lambda c: c["caption"] == "Lock" and not c["disabled"])
    window = s.dialog(TRADE)
    if window["title"] != "Trade" or window["rect"][2:] != [400, 316]:
        raise Failure(f"the trade window is {window['title']!r} at {window['rect']}")
    x, y = window["rect"][:2]

    # 2. The flower into the own box.
    moves, answers = s.count(MOVE), len(partner.pings)
    s.drag(s.cell(0, sidewindows.FLOWER), (x + 300, y + 120))
    s.expect_raw(MOVE, "0efeff000002fffffeffff01", "the flower moved onto the own offer", moves)
    s.wait_answer(partner, answers, "the own offer with the flower")
    if partner.own_items != [(sidewindows.FLOWER, 1, 0)]:
        raise Failure(f"the server's own offer is {partner.own_items}")

    # 3. Taken back by a right click, then locked and accepted.
    commands, uses = s.count(TRADE_COMMAND), s.count(USE)
    s.click(x + 45, y + 75, button=3)
    s.expect_raw(TRADE_COMMAND, "1f040000", "the flower taken back", commands)
    if s.count(USE) != uses:
        raise Failure(f"the right click also used a thing: {s.requests(USE)[uses:]}")
    s.click_control(LOCK)
    s.expect_raw(TRADE_COMMAND, "1f02", "Lock", commands + 1)
    s.wait_control(LOCK, 'an enabled "Accept" once both locked',
                   lambda c: c["caption"] == "Accept" and not c["disabled"])
    s.click_control(LOCK)
    s.expect_raw(TRADE_COMMAND, "1f03", "Accept", commands + 2)
    s.wait_control(LOCK, '"Accept" disabled once accepted', lambda c: c["disabled"])

    # 4. The trade ends and a new one starts in one frame.
    partner.restart(s.server, b"Trader2")
    s.wait_control(LOCK, 'the new trade\'s "Lock"', lambda c: c["caption"] == "Lock" and not c["disabled"])
    if len(s.dialogs(TRADE)) != 1:
        raise Failure(f"{len(s.dialogs(TRADE))} trade windows after the restart")
    s.click_control(CANCEL)
    s.expect_raw(TRADE_COMMAND, "1f01", "Cancel", commands + 3)

    # 5. The end.
    partner.end(s.server)
    s.wait_closed(TRADE, "no trade window after the end")
    if s.server.failures:
        raise Failure(f"the fake server found faults: {s.server.failures}")

