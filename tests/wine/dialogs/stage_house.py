"""The house management (dialog 148) and the house bidding (dialog 162),
against the fake server's houses (house.House):

1. 0x28: "Harbour Lane 4" at (130, 125, 7), access level 2, rights 7, the
   invite "Ivo", the tile permission "Mira" (2), a flower (120) and a torch
   (130) for sale: dialog 148 opens on its first page.
2. Page 1: "Ann" typed into 154 and added, her row clicked, "Sub owner"
   ticked. "Tile Permissions": "Bob" added, his row clicked, "Can open /
   close door" ticked. Enter sends the save, byte for byte, and closes 148.
3. 0x28 again (the server sends the saved lists back). "Decoration": row 2,
   "Buy item" sends 36 82 00 00 00. "Ownership": "Cedric" and 5000,
   "Transfer house" sends 30 ...; box 219 ticked, "Abandon" sends 2F and
   closes 148.
4. 0x29 (may bid; houses 7, 8 and 9 with 100, 300 and 0 seconds left, each
   with a bidder): list 165 shows 8, 7, 9 behind "-- Select House --". Row 2
   (house 7), 5 typed into 166, "Bid Premium Cards" sends 26 07 00 00 00 05
   00 00 00 and closes 162. The strict decoder found no fault.
"""
from winedriver import Failure, xdotool

import house

HOUSE, SAVE, NAME, ADD, PERSONS, SUB_OWNER = 148, 152, 154, 155, 156, 158
TAB_PERMISSIONS, DOOR, TAB_OWNERSHIP = 151, 160, 218
ABANDON_CHECK, ABANDON, NEW_OWNER, PRICE, TRANSFER = 219, 220, 221, 222, 223
DECORATIONS, BUY = 262, 263
BIDDING, BID, HOUSES, AMOUNT = 162, 163, 165, 166
SAVE_REQUEST, BID_REQUEST, ABANDON_REQUEST, TRANSFER_REQUEST, BUY_REQUEST = 0x25, 0x26, 0x2F, 0x30, 0x36

SAVED = ("25 8200 7d00 07"
         " 02 0300 49766f 00 0300 416e6e 01"
         " 02 0400 4d697261 02 0300 426f62 02")


def prepare(server):
    server.add_behaviour(house.House())


def centre(control):
    x, y, w, h = control["rect"]
    return x + w // 2, y + h // 2


def shown(control):
    return control is not None and not control["hidden"]


def rows(s, list_id):
    """The list's shown rows as (label, right-hand text)."""
    return [(label, right) for _, label, right in s.control(list_id)["rows"]]


def type_into(s, box, text):
    s.click_control(box)
    s.wait_state(lambda st: st.get("focus") == box, f"the focus in box {box}")
    xdotool("type", "--delay", "40", text)
    s.wait_control(box, f"{text!r} in box {box}", lambda c: c["text"] == text)


def click_row(s, list_id, row, row_height):
    x, y, w, _ = s.control(list_id)["rect"]
    s.click(x + w // 2, y + 1 + row * row_height + row_height // 2)
    s.wait_control(list_id, f"row {row} of list {list_id} current", lambda c: c["selected"] == row)


def add_person(s, name, before, box, right):
    """Adds a name to the page's list, clicks its row and ticks a box: the
    row then shows the right-hand text."""
    type_into(s, NAME, name)
    s.click_control(ADD)
    s.wait_control(PERSONS, f"{name} added", lambda c: rows(s, PERSONS) == before + [(name, "")])
    click_row(s, PERSONS, len(before), 20)
    s.click_control(box)
    s.wait_control(PERSONS, f"{name} with {right!r}", lambda c: rows(s, PERSONS)[-1] == (name, right))


def click_tab(s, caption, visible):
    """Clicks the tab of the house management with the caption and waits for
    a control of its page."""
    tab = next((c for c in s.dialog(HOUSE)["controls"] if c["kind"] == "tab" and c["caption"] == caption), None)
    if tab is None:
        raise Failure(f"no tab {caption!r} in {s.dialog(HOUSE)}")
    s.click(*centre(tab))
    s.wait_control(visible, f"the page {caption!r}", shown)


def run(s):
    houses = s.behaviour(house.House)

    # 1. The house's data opens the window on its first page.
    before = len(houses.pings)
    houses.house(s.server)
    s.wait_answer(houses, before, "the house message read")
    window = s.wait_dialog(HOUSE, "the house management")
    if window["title"] != "House Management" or window["rect"][2:] != [498, 418]:
        raise Failure(f"the house management is {window['title']!r} at {window['rect']}")
    s.wait_control(PERSONS, "Ivo on the invite list", lambda c: shown(c) and rows(s, PERSONS) == [("Ivo", "")])
    if s.state.get("enter") != SAVE:
        raise Failure(f"the Enter button is {s.state.get('enter')}, not {SAVE}")

    # 2. Ann invited as a sub owner, Bob allowed to open doors, saved by Enter.
    add_person(s, "Ann", [("Ivo", "")], SUB_OWNER, "Sub owner")
    click_tab(s, "Tile Permissions", DOOR)
    s.wait_control(PERSONS, "Mira's rights", lambda c: rows(s, PERSONS) == [("Mira", "/")])
    add_person(s, "Bob", [("Mira", "/")], DOOR, "/")
    saves = s.count(SAVE_REQUEST)
    xdotool("key", "Return")
    s.expect_raw(SAVE_REQUEST, SAVED.replace(" ", ""), "the save", saves)
    s.wait_closed(HOUSE, "the house management closed by Enter")

    # 3. The saved lists come back; an item bought, the house transferred and abandoned.
    before = len(houses.pings)
    houses.house(s.server)
    s.wait_answer(houses, before, "the second house message read")
    s.wait_control(PERSONS, "the saved invites", lambda c: rows(s, PERSONS) == [("Ivo", ""), ("Ann", "Sub owner")])
    click_tab(s, "Decoration", DECORATIONS)
    s.wait_control(DECORATIONS, "the two items", lambda c: [r[1] for r in c["rows"]] == ["Flower", "Torch"])
    click_row(s, DECORATIONS, 1, 50)
    bought = s.count(BUY_REQUEST)
    s.click_control(BUY)
    s.expect_raw(BUY_REQUEST, "3682000000", "the torch bought", bought)
    click_tab(s, "Ownership", TRANSFER)
    type_into(s, NEW_OWNER, "Cedric")
    type_into(s, PRICE, "5000")
    transfers = s.count(TRANSFER_REQUEST)
    s.click_control(TRANSFER)
    s.expect_raw(TRANSFER_REQUEST, "30" "0600" + b"Cedric".hex() + "88130000", "the transfer", transfers)
    if s.dialog(HOUSE) is None:
        raise Failure("the transfer closed the house management")
    s.click_control(ABANDON_CHECK)
    s.wait_control(ABANDON, '"Abandon" enabled by the check box', lambda c: not c["disabled"])
    abandons = s.count(ABANDON_REQUEST)
    s.click_control(ABANDON)
    s.expect_raw(ABANDON_REQUEST, "2f", "the house abandoned", abandons)
    s.wait_closed(HOUSE, "the house management closed by Abandon")

    # 4. The auction: a bid for house 7.
    before = len(houses.pings)
    houses.bidding(s.server)
    s.wait_answer(houses, before, "the auction read")
    s.wait_dialog(BIDDING, "the house bidding")
    order = ["-- Select House --", "Mill Road 2", "Mill Road 1", "Mill Road 3"]
    s.wait_control(HOUSES, "houses 8, 7 and 9", lambda c: [r[1] for r in c["rows"]] == order)
    click_row(s, HOUSES, 2, 35)
    type_into(s, AMOUNT, "5")
    bids = s.count(BID_REQUEST)
    s.click_control(BID)
    s.expect_raw(BID_REQUEST, "260700000005000000", "the bid", bids)
    s.wait_closed(BIDDING, "the house bidding closed by the bid")
    if s.server.failures:
        raise Failure(f"the fake server found faults: {s.server.failures}")
