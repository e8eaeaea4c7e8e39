#pragma once

#include <cstdint>

// The servers and web pages the client knows by name.

// The built-in login servers. The first two take turns at being tried first,
// so that players spread over them; the third is always the last resort.
// "loginserver.txt" in the working directory replaces all three.
constexpr const char* kLoginHostA = "login1.velmora-online.example";
constexpr const char* kLoginHostB = "login2.velmora-online.example";
constexpr const char* kLoginHostC = "login3.velmora-online.example";
constexpr uint16_t kLoginPort = 5657;

// The web site that the login screen and the character list open.
constexpr const char* kWebsiteUrl = "http://www.velmora-online.example/";
// The account page, where "New Character" sends the player.
constexpr const char* kAccountPageUrl = "http://www.velmora-online.example/account/account";
// The page where the actions window's "Buy Premium Cards" sends the player.
constexpr const char* kPremiumPageUrl = "http://www.velmora-online.example/home/premium";
// The city map and the two fan sites that the "Support" chat tab points to;
// the city map is also a picture button of the completed tutorial's dialog.
constexpr const char* kCityMapUrl = "http://www.velmora-online.example/library/map/Brannoc";
// The list of fan sites, the other picture button of that dialog.
constexpr const char* kFansitePageUrl = "http://www.velmora-online.example/library/fansites";
constexpr const char* kFanSiteUrlA = "http://www.velmora-fans.example";
constexpr const char* kFanSiteUrlB = "http://www.velmora-wiki.example";

// The game's own web sites, each bare and with "www.". A link copied out of
// the chat to any other host is copied only after a warning.
constexpr const char* kTrustedHosts[] = {
    "velmora-online.example", "www.velmora-online.example",
    "velmora-forum.example",  "www.velmora-forum.example",
    "velmora-wiki.example",   "www.velmora-wiki.example",
    "velmora-shop.example",   "www.velmora-shop.example",
    "velmora-maps.example",   "www.velmora-maps.example",
};

// Where the report dialog tells players to write to the staff.
constexpr const char* kStaffEmail = "support@velmora-online.example";

// The web server whose page "/index.php" holds the notification shown on the
// login screen. The environment variable VELMORA_STATUS_SERVER ("host:port")
// points the client at another one; the tests use it.
constexpr const char* kStatusHost = "status.velmora-online.example";
constexpr uint16_t kStatusPort = 80;
constexpr const char* kStatusPath = "/index.php";

// The file server that holds the self-update packages,
// "/velmoramedia/client/velmora_<version>.zip". The environment variable
// VELMORA_PATCH_SERVER ("host:port") points the client at another one; the
// tests use it.
constexpr const char* kPatchHost = "files.velmora-online.example";
constexpr uint16_t kPatchPort = 80;
