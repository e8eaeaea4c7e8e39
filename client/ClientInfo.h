#pragma once

// What the client says about itself: its version, the texts of the about box
// and the game-world names its dialogs mention. The servers and web pages it
// knows by name are in client/Hosts.h.

// The version the about box shows.
constexpr const char* kClientVersion = "5.7.3";

// The about box's notice lines. Each fits the box's 302 pixels in the font's
// built-in advances.
constexpr const char* kAboutMaker = "Made by the Velmora Online client team.";
constexpr const char* kAboutWebAddress = "www.velmora-online.example";
// The font is drawn from DejaVu Sans Bold (tools/gfxgen/Fonts.h), whose
// licence asks for these two lines.
constexpr const char* kAboutFontNotice = "Font: DejaVu Sans Bold, (c) 2003 Bitstream, Inc.";
constexpr const char* kAboutFontTrademark = "Bitstream Vera is a trademark of Bitstream, Inc.";
// The line that scrolls through the about box's lower frame.
constexpr const char* kAboutCredits =
    "Velmora Online client - made by the Velmora Online client team. Thanks to everyone who plays and tests it!";

// The game-world character who gives the next quest once the beginners'
// tutorial is done; the congratulation names it.
constexpr const char* kQuestGiverName = "Warden Iselda";
