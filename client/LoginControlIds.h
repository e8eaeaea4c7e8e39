#pragma once

#include <cstdint>

// The control ids of the login screen and of the dialogs the client owns
// (about, options, character list, self-update), each defined here once; the
// modules, the menu and the tests use these names.
// The message box's ids are the toolkit's (GUIManager::kMessageBoxId ...).
namespace LoginIds {

constexpr int32_t kOptionsButton = 2;
constexpr int32_t kOptionsClose = 4;
constexpr int32_t kAboutDialog = 5;
constexpr int32_t kAboutClose = 6;
constexpr int32_t kAboutButton = 7;
constexpr int32_t kLoginButton = 11;
constexpr int32_t kAccountBox = 13;
constexpr int32_t kAccountLabel = 14;
constexpr int32_t kPasswordLabel = 15;
constexpr int32_t kPasswordBox = 16;
constexpr int32_t kCharacterListDialog = 20;
constexpr int32_t kNewCharacterButton = 21;
constexpr int32_t kCharacterListCancel = 22;
constexpr int32_t kEnterGameButton = 23;
constexpr int32_t kCharacterRows = 24;
constexpr int32_t kOptionsDialog = 172;
// The options dialog's controls. "Interface" page:
constexpr int32_t kOptionsSkin = 238;
constexpr int32_t kOptionsStatBars = 332;
constexpr int32_t kOptionsLootMessages = 320;
constexpr int32_t kOptionsDualInterface = 176;
constexpr int32_t kOptionsForceRight = 177;
constexpr int32_t kOptionsAutoOpenTab = 178;
constexpr int32_t kOptionsClassicClick = 187;
constexpr int32_t kOptionsExperience = 192;
// "Graphics" page:
constexpr int32_t kOptionsStretching = 174;
constexpr int32_t kOptionsTimerMovement = 209;
constexpr int32_t kOptionsFloorFading = 264;
constexpr int32_t kOptionsSidestep = 319;
constexpr int32_t kOptionsHealthWarning = 333;
constexpr int32_t kOptionsDirect3D = 184;
constexpr int32_t kOptionsDirectDraw = 185;
constexpr int32_t kOptionsOpenGL = 186;
constexpr int32_t kOptionsFpsLimit = 175;
constexpr int32_t kPatchingDialog = 210;
constexpr int32_t kPatchingCancel = 211;
constexpr int32_t kWebsiteButton = 261;

}  // namespace LoginIds
