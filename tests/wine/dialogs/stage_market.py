"""The item market (dialog 196, its offer dialogs 256 and 267 and the history
window 272), against the fake server's market behaviour. The catalogue holds
the flower, the torch twice and the coins; "Food" (category 2) holds a sell
offer of the flower by Brenna at 2.5, a buy offer by Cedric and the player
Aldric's own sell offer of the torch.

1. The catalogue, a full listing and the history in one frame: dialog 196
   opens on "Sell Offers" with the category grid (no table).
2. The pointer on the "Food" cell for a frame, then a press: table 207 shows
   Brenna's offer. Clicked, amount 3, Accept: 0x2B for 3 flowers at 2.5.
3. A Ctrl-click on the same row asks about it (0x2D).
4. "My Offers": a right click on Aldric's torch withdraws it (0x2E) and uses
   nothing (no 0x0F). Refresh sends 0x2A and stays disabled until the
   server's full listing.
5. The backpack's torch dragged onto the market opens the sell offer 256:
   amount 2, price 1.5, Enter sends 0x2C.
6. "Create Buy Offer" opens 267: "tor" typed into its search leaves the
   placeholder and the two torches; the first torch and Enter send 0x2C for
   one torch at no price.
7. "View history" opens 272 and its "Close" closes it; the market's "Close"
   closes 196. The server's decoder found no fault.
"""
from winedriver import Failure, xdotool

import market
import sidewindows

MARKET, SELL_OFFER, BUY_OFFER, HISTORY = 196, 256, 267, 272
CLOSE, SEARCH, AMOUNT, ACCEPT, REFRESH, VIEW_HISTORY, OFFERS, CREATE_BUY = 197, 198, 199, 200, 201, 206, 207, 270
SELL_AMOUNT, SELL_PRICE = 257, 258
BUY_ITEMS, BUY_SEARCH = 271, 274
HISTORY_CLOSE = 273
USE, ACCEPT_OP, CREATE_OP, QUERY_OP, WITHDRAW_OP, OPEN_OP = 0x0F, 0x2B, 0x2C, 0x2D, 0x2E, 0x2A
FOOD_CELL = 2  # the third cell of the grid's first row


def prepare(server):
    server.add_behaviour(market.Market())


def tab(s, caption):
    """The market's tab with the caption."""
    window = s.dialog(MARKET)
    found = next((c for c in window["controls"] if c["kind"] == "tab" and c["caption"] == caption), None)
    if found is None:
        raise Failure(f"no tab {caption!r} in the market")
    return found


def row_point(s, player):
    """The middle of the shown row of the offers table whose player column
    reads `player` (rows are 20 px high below a 25-px header)."""
    table = s.control(OFFERS)
    x, y = table["rect"][:2]
    for k, row in enumerate(table["rows"]):
        if row[3] == player:
            return x + 100, y + 25 + 20 * k + 10
    raise Failure(f"no row of {player} in {table['rows']}")


def frame_passes(s, behaviour):
    """Two pings answered: the client has drawn a frame since the pointer moved."""
    for _ in range(2):
        before = len(behaviour.pings)
        behaviour.ping(s.server)
        s.wait_answer(behaviour, before, "a pass of the client")


def retype(text):
    xdotool("key", "ctrl+a", "BackSpace")
    xdotool("type", "--delay", "40", text)


def run(s):
    m = s.behaviour(market.Market)

    # 1. The market opens on the sell tab with the grid.
    before = len(m.pings)
    m.open(s.server)
    s.wait_answer(m, before, "the catalogue, the history and the listing")
    window = s.wait_dialog(MARKET, "the market window",
                           lambda d: any(c["kind"] == "tab" and c["caption"] == "Sell Offers" and c["active"]
                                         for c in d["controls"]))
    if window["title"] != "Item Market" or window["rect"][2:] != [600, 500]:
        raise Failure(f"the market is {window['title']!r} at {window['rect']}")
    if not s.control(OFFERS)["hidden"]:
        raise Failure("the offers table shows over the category grid")
    x, y = window["rect"][:2]

    # 2. The Food cell, Brenna's offer accepted for 3.
    cell = (x + 30 + 137 * (FOOD_CELL % 4) + 60, y + 76 + 76 * (FOOD_CELL // 4) + 30)
    s.move(*cell)
    frame_passes(s, m)
    s.click(*cell)
    s.wait_control(OFFERS, "Brenna's offer in the Food table",
                   lambda c: not c["hidden"] and any(r[3] == "Brenna" for r in c["rows"]))
    s.click(*row_point(s, "Brenna"))
    s.wait_control(AMOUNT, "the amount box of the chosen offer", lambda c: not c["hidden"])
    s.click_control(AMOUNT)
    retype("3")
    s.wait_control(ACCEPT, "the Accept caption for 3 flowers", lambda c: c["caption"] == "Buy (8 gold)")
    accepts = s.count(ACCEPT_OP)
    s.click_control(ACCEPT)
    s.expect_raw(ACCEPT_OP, "2b06004272656e6e617800000003000000000020" "4001", "the offer accepted", accepts)

    # 3. A Ctrl-click asks about the offer.
    queries = s.count(QUERY_OP)
    xdotool("keydown", "ctrl")
    try:
        s.click(*row_point(s, "Brenna"))
    finally:
        xdotool("keyup", "ctrl")
    s.expect_raw(QUERY_OP, "2d7800000006004272656e6e61", "the query about Brenna's offer", queries)

    # 4. My Offers: the own torch withdrawn by a right click; Refresh.
    own = tab(s, "My Offers")
    s.click(own["rect"][0] + own["rect"][2] // 2, own["rect"][1] + own["rect"][3] // 2)
    s.wait_control(OFFERS, "the own offers", lambda c: [r[3] for r in c["rows"]] == ["You (Sell Offer)"])
    withdrawals, uses = s.count(WITHDRAW_OP), s.count(USE)
    s.click(*row_point(s, "You (Sell Offer)"), button=3)
    s.expect_raw(WITHDRAW_OP, "2e8200000001", "the own offer withdrawn", withdrawals)
    if s.count(USE) != uses:
        raise Failure(f"the right click also used a thing: {s.requests(USE)[uses:]}")
    opens, before = s.count(OPEN_OP), len(m.pings)
    s.click_control(REFRESH)
    s.expect_raw(OPEN_OP, "2a", "Refresh", opens)
    s.wait_answer(m, before, "the new listing")
    s.wait_control(REFRESH, "Refresh enabled again", lambda c: not c["disabled"] and not c["hidden"])

    # 5. The backpack's torch dropped on the market: a sell offer of 2 at 1.5.
    s.drag(s.cell(0, sidewindows.TORCH), (x + 300, y + 430))
    s.wait_dialog(SELL_OFFER, "the sell offer dialog")
    s.wait_state(lambda st: st["focus"] == SELL_AMOUNT, "the focus in the amount box")
    retype("2")
    s.click_control(SELL_PRICE)
    s.wait_state(lambda st: st["focus"] == SELL_PRICE, "the focus in the price box")
    xdotool("type", "--delay", "40", "1.5")
    s.wait_control(SELL_PRICE, "the price typed", lambda c: c["text"] == "1.5")
    creates = s.count(CREATE_OP)
    xdotool("key", "Return")
    s.expect_raw(CREATE_OP, "2c82000000020000000000c03f01", "the sell offer", creates)
    s.wait_closed(SELL_OFFER, "the sell offer dialog closed")

    # 6. A buy offer for the first of the two torches the search finds.
    s.click_control(CREATE_BUY)
    s.wait_dialog(BUY_OFFER, "the buy offer dialog")
    s.click_control(BUY_SEARCH)
    s.wait_state(lambda st: st["focus"] == BUY_SEARCH, "the focus in the search box")
    xdotool("type", "--delay", "40", "tor")
    items = s.wait_control(BUY_ITEMS, "the torches found",
                           lambda c: [r[1] for r in c["rows"]] == ["-- select item --", "torch", "torch"])
    s.click(items["rect"][0] + 50, items["rect"][1] + 1 + 20 + 10)
    s.wait_control(BUY_ITEMS, "the first torch chosen", lambda c: c["selected"] == 1)
    xdotool("key", "Return")
    s.expect_raw(CREATE_OP, "2c820000000100000000000000" "00", "the buy offer", creates + 1)
    s.wait_closed(BUY_OFFER, "the buy offer dialog closed")

    # 7. The history, then the market closed.
    s.click_control(VIEW_HISTORY)
    s.wait_dialog(HISTORY, "the history window")
    s.wait_control(208, "the history's rows", lambda c: len(c["rows"]) == 4)
    s.click_control(HISTORY_CLOSE)
    s.wait_closed(HISTORY, "the history closed")
    s.click_control(CLOSE)
    s.wait_closed(MARKET, "the market closed")
    if m.accepted != [(b"Brenna", sidewindows.FLOWER, 3, 2.5, 1)] or m.withdrawn != [(market.TORCH, 1)]:
        raise Failure(f"the server saw {m.accepted} accepted and {m.withdrawn} withdrawn")
    if s.server.failures:
        raise Failure(f"the fake server found faults: {s.server.failures}")
