"""The NPC shop (dialog 125), the amount question (dialog 53) and "Move Items"
(dialog 47), against the fake server's merchant (shop.Shop), which answers a
choice from the shop with the amount question:

1. 0x24 (sells: flower 120 for 5, torch 130 for 8; buys: torch 130 for 3):
   the shop on "Buy from NPC". Row 2 of list 128, then "Choose":
   21 82 00 00 00 00; the merchant asks how many torches.
2. 0x17 (a torch, 130, 8, 50, buying) while the question stands: BackSpace,
   5, Enter send 14 82 00 00 00 05 00 00 00 01 and close it.
3. Ctrl-click on row 1: 35 78 00 00 00. "Sell to NPC", then the backpack's
   torch (container 0, z 3) dragged onto the shop: 21 82 00 00 00 01 and no
   move (0x0E); the merchant asks how many to sell.
4. 0x25 + 0x24 in one frame: the shop stands after the update, a new window
   on "Buy from NPC", whose "Choose" sends 21 78 00 00 00 00. 0x17, then
   0x25 + 0x17 in one frame: the question stands; its "Cancel" sends
   nothing. 0x25 closes the shop.
5. The backpack's 12 coins (container 0, z 1) dragged onto its first empty
   slot: "Move Items" with scroll bar 50 at 12 of 12; 7 typed sets it to 7;
   Enter sends 0E FE FF 00 00 01 FE FF 00 00 04 07 and closes it.
"""
from winedriver import Failure, xdotool

import shop
import sidewindows

SHOP, CHOOSE, SHOP_LIST, SELL_TAB = 125, 126, 128, 131
QUESTION, QUESTION_CANCEL, AMOUNT = 53, 55, 56
MOVE_ITEMS, AMOUNT_BAR = 47, 50
MOVE, NPC_TRADE, NPC_CHOICE, NPC_SELECT = 0x0E, 0x14, 0x21, 0x35
ROW_HEIGHT = 50


def prepare(server):
    server.add_behaviour(shop.Shop())


def row_point(s, row):
    """The middle of row `row` (from 1) of the shop's list."""
    x, y, _, _ = s.control(SHOP_LIST)["rect"]
    return x + 60, y + 1 + ROW_HEIGHT * (row - 1) + ROW_HEIGHT // 2


def key(name):
    xdotool("key", name)


def run(s):
    merchant = s.behaviour(shop.Shop)

    # 1. The shop, and a torch chosen from what the merchant sells.
    merchant.offers(s.server)
    window = s.wait_dialog(SHOP, "the shop", lambda d: any(c["id"] == SHOP_LIST and len(c["rows"]) == 2
                                                           for c in d["controls"]))
    if window["title"] != "Shop List" or window["rect"][2:] != [400, 417]:
        raise Failure(f"the shop is {window['title']!r} at {window['rect']}")
    rows = s.control(SHOP_LIST)["rows"]
    if [r[1:] for r in rows] != [["flower", "5 gold"], ["torch", "8 gold"]]:
        raise Failure(f"the shop lists {rows} under Buy from NPC")
    s.click(*row_point(s, 2))
    s.wait_control(SHOP_LIST, "row 2 chosen", lambda c: c["selected"] == 1)
    choices, answers = s.count(NPC_CHOICE), len(merchant.pings)
    s.click_control(CHOOSE)
    s.expect_raw(NPC_CHOICE, "218200000000", "the torch chosen to buy", choices)
    s.wait_answer(merchant, answers, "the merchant's question")

    # 2. The question again while it stands: the amount typed, then Enter.
    s.wait_dialog(QUESTION, "the amount question")
    merchant.ask(s.server, b"a torch", 130, 8, 50, True)
    s.wait_pong(merchant.pings[-1], "the second question read")
    s.wait_state(lambda st: st.get("focus") == AMOUNT and (s.control(AMOUNT, st) or {}).get("text") == "1",
                 'the amount box with "1" and the keys')
    window = s.dialog(QUESTION)
    if window["title"] != "Trade Item" or window["rect"][2:] != [450, 235]:
        raise Failure(f"the question is {window['title']!r} at {window['rect']}")
    trades = s.count(NPC_TRADE)
    key("BackSpace")
    key("5")
    s.wait_control(AMOUNT, '"5" typed', lambda c: c["text"] == "5")
    key("Return")
    s.expect_raw(NPC_TRADE, "148200000005000000" + "01", "five torches bought", trades)
    s.wait_closed(QUESTION, "the question closed by Enter")

    # 3. A Ctrl-click asks about the flower; the torch sold by dragging it.
    selects = s.count(NPC_SELECT)
    xdotool("keydown", "ctrl")
    try:
        s.click(*row_point(s, 1))
        s.expect_raw(NPC_SELECT, "3578000000", "the Ctrl-clicked flower", selects)
    finally:
        xdotool("keyup", "ctrl")
    s.click_control(SELL_TAB)
    s.wait_control(SELL_TAB, '"Sell to NPC" shown', lambda c: c["active"])
    s.wait_control(SHOP_LIST, "the torch the merchant buys", lambda c: [r[1:] for r in c["rows"]] ==
                   [["torch", "3 gold"]])
    moves, answers = s.count(MOVE), len(merchant.pings)
    x, y, w, h = s.dialog(SHOP)["rect"]
    s.drag(s.cell(0, sidewindows.TORCH), (x + w // 2, y + 150))
    s.expect_raw(NPC_CHOICE, "218200000001", "the torch dropped to sell", choices + 1)
    s.wait_answer(merchant, answers, "the merchant's question to sell")
    s.wait_dialog(QUESTION, "the question to sell")
    if s.count(MOVE) != moves:
        raise Failure(f"the drop on the shop also moved: {s.requests(MOVE)[moves:]}")

    # 4. The talk ends and goes on in one frame, twice.
    merchant.end_and_offer(s.server)
    s.wait_pong(merchant.pings[-1], "0x25 + 0x24 read")
    s.wait_state(lambda st: s.dialog(QUESTION, st) is None and len(s.dialogs(SHOP, st)) == 1 and
                 (s.control(SHOP_LIST, st) or {}).get("rows") and
                 s.control(SHOP_LIST, st)["rows"][0][1] == "flower",
                 "one shop on Buy from NPC after the update, no question")
    answers = len(merchant.pings)
    s.click_control(CHOOSE)
    s.expect_raw(NPC_CHOICE, "217800000000", "the flower chosen from the new window", choices + 2)
    s.wait_answer(merchant, answers, "the merchant's question about the flower")
    merchant.ask(s.server, b"a torch", 130, 8, 50, True)
    merchant.end_and_ask(s.server, b"a flower", 120, 5, 50, True)
    s.wait_pong(merchant.pings[-1], "0x25 + 0x17 read")
    s.wait_state(lambda st: s.dialog(QUESTION, st) is not None and s.dialog(SHOP, st) is None,
                 "the question stands after the update, the shop is closed")
    before = len(s.server.requests)
    s.click_control(QUESTION_CANCEL)
    s.wait_closed(QUESTION, "the question cancelled")
    merchant.end(s.server)
    s.wait_pong(merchant.pings[-1], "0x25 read")
    sent = [r for r in s.server.requests[before:] if r.opcode not in (0x19,)]
    if any(r.opcode in (NPC_TRADE, NPC_CHOICE, NPC_SELECT, MOVE) for r in sent):
        raise Failure(f'"Cancel" sent {sent}')
    s.wait_closed(SHOP, "the shop closed by the end of the talk")

    # 5. Twelve coins onto an empty slot of the backpack: how many? The
    # window shows one row; a turn of the wheel over it brings the top of the
    # second row into view.
    backpack = next(c for c in s.state["containers"] if c["index"] == 0)
    first = next(c for c in backpack["cells"] if c["slot"] == 0)
    s.move(first["x"] + 16, first["y"] + 16)
    xdotool("click", 5)
    state = s.wait_state(lambda st: next(c for c in st["containers"] if c["index"] == 0)["cells"][0]["y"] <
                         first["y"], "the backpack scrolled down")
    backpack = next(c for c in state["containers"] if c["index"] == 0)
    coins = next(c for c in backpack["cells"] if c["item"] == sidewindows.COINS)
    empty = next(c for c in backpack["cells"] if c["item"] == 0)
    top, bottom = backpack["rect"][1] + 20, backpack["rect"][1] + backpack["rect"][3] - 18
    if not (coins["y"] + 20 > top and empty["y"] + 2 < bottom):
        raise Failure(f"the coins at y {coins['y']} and the empty slot at {empty['y']} are not both in {top}..{bottom}")
    moves = s.count(MOVE)
    # A cell takes the points from 6 above it to its next neighbour: the
    # coins' lower part, and the empty cell's top below it.
    s.drag((coins["x"] + 16, (max(coins["y"], top) + empty["y"]) // 2),
           (empty["x"] + 16, (empty["y"] + 1 + bottom) // 2))
    whole = coins["count"]
    s.wait_control(AMOUNT_BAR, f'"Move Items" with the whole stack of {whole}',
                   lambda c: c["position"] == whole and c["maximum"] == whole)
    window = s.dialog(MOVE_ITEMS)
    if window["title"] != "Move Items" or window["rect"][2:] != [270, 190]:
        raise Failure(f"the amount dialog is {window['title']!r} at {window['rect']}")
    key("7")
    s.wait_control(AMOUNT_BAR, "7 typed", lambda c: c["position"] == 7)
    key("Return")
    expected = "0efeff0000%02xfeff0000%02x07" % (coins["slot"] + 1, empty["slot"] + 1)
    s.expect_raw(MOVE, expected, "seven coins moved", moves)
    s.wait_closed(MOVE_ITEMS, '"Move Items" closed by Enter')
    xdotool("click", 4)
    s.wait_state(lambda st: next(c for c in st["containers"] if c["index"] == 0)["cells"][0]["y"] == first["y"],
                 "the backpack scrolled back")
    if s.server.failures:
        raise Failure(f"the fake server found faults: {s.server.failures}")
