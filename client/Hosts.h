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

// The file server that holds the self-update packages,
// "/velmoramedia/client/velmora_<version>.zip". The environment variable
// VELMORA_PATCH_SERVER ("host:port") points the client at another one; the
// tests use it.
constexpr const char* kPatchHost = "files.velmora-online.example";
constexpr uint16_t kPatchPort = 80;
