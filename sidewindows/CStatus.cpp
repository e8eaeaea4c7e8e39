#include "sidewindows/CStatus.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "game/Lifecycle.h"

namespace {

constexpr int kScrollStep = 3;
constexpr uint32_t kLabelColor = 0xFFAAC8C8;  // RGBA (200, 200, 170, 255)
constexpr uint32_t kHealthColor = 0xFF0000AA;
constexpr uint32_t kManaColor = 0xFFAA0000;
constexpr uint32_t kProgressColor = 0xFF007800;
constexpr uint32_t kCraftColor = 0xFF007878;
constexpr uint32_t kBackground = 0x1E000000;
constexpr uint32_t kBarBack = 0x32000000;
constexpr int kNoBar = -1;

// Tooltip row indexes (keys kFirstTooltipKey + index) the two pages do not share.
constexpr int kLastTalentRow = 7;
constexpr int kBrewingRow = 8;

// A share in percent for a bar. The ratio is taken in floating point and
// clamped before it becomes an int: a maximum of 0 (before the first
// statistics) or a value above its maximum must neither divide by zero nor
// convert an out-of-range float.
int Percent(int value, int maximum) {
    if (maximum <= 0)
        return 100;
    const double share = double(value) / double(maximum) * 100.0;
    return int(std::clamp(share, 0.0, 100.0));
}

uint64_t Unsigned(int value) { return value > 0 ? uint64_t(value) : 0; }

std::string LeftToAdvance(int percent) {
    std::ostringstream text;
    text << 100 - percent << "% left to advance.";
    return text.str();
}

}  // namespace

CStatus::CStatus() {
    windowId = kWindowId;
    MakeScrollbar(kScrollbarId);
    lifecycle::Note("CStatus");
}

CStatus::~CStatus() {
    lifecycle::Note("~CStatus");
}

void CStatus::SetStats(int health_, int maxHealth_, int mana_, int maxMana_, int level_,
                       int magicLevel_, int magicLevelBonus_, int experiencePercent_,
                       int magicLevelPercent_, uint64_t experience_, float experienceRate_) {
    health = health_;
    maxHealth = maxHealth_;
    mana = mana_;
    maxMana = maxMana_;
    level = level_;
    magicLevel = magicLevel_;
    magicLevelBonus = magicLevelBonus_;
    experiencePercent = experiencePercent_;
    magicLevelPercent = magicLevelPercent_;
    experience = experience_;
    experienceRate = experienceRate_;
}

void CStatus::Update() {
    if (!dialog)
        return;
    if (!initialized) {
        initialized = 1;
        dialog->AddChild(scrollbar);
        skillsButton = new GUIButton(0, "Skills", &CStatus::ShowSkillsPage, this);
        talentsButton = new GUIButton(0, "Talents", &CStatus::ShowTalentsPage, this);
        skillsButton->SetStyle(page == 0 ? 1 : 0);
        talentsButton->SetStyle(page == 1 ? 1 : 0);
        dialog->AddChild(skillsButton);
        dialog->AddChild(talentsButton);
    }
    const int inner = dialog->width - 35;
    const int half = inner / 2;
    skillsButton->SetRect(dialog->x + 9, dialog->y + 26, half, 18);
    talentsButton->SetRect(dialog->x + 9 + half, dialog->y + 26, inner - half, 18);

    SetListScrollRange(67, kScrollStep);
}

void CStatus::SetMinimized(bool value) {
    SideWindow::SetMinimized(value);
    if (!initialized)
        return;
    SetHidden({skillsButton, talentsButton}, value);
}

void CStatus::ShowSkillsPage(void* window) {
    CStatus* status = static_cast<CStatus*>(window);
    status->page = 0;
    if (!status->initialized)
        return;
    status->skillsButton->SetStyle(1);
    status->talentsButton->SetStyle(0);
    status->scrollbar->SetPosition(0);
}

void CStatus::ShowTalentsPage(void* window) {
    CStatus* status = static_cast<CStatus*>(window);
    status->page = 1;
    if (!status->initialized)
        return;
    status->skillsButton->SetStyle(0);
    status->talentsButton->SetStyle(1);
    status->scrollbar->SetPosition(0);
}

int CStatus::TotalTalentPoints() const {
    int total = unusedPoints;
    for (int points : talents)
        total += points;
    return total > 0 ? total : 1;
}

std::string CStatus::TalentDescription(int index) {
    static const char* const kDescriptions[kTalentCount] = {
        "Each point increases your maximum health by 3 (mage) or 5 (warrior, ranger).",
        "Each point increases your maximum mana by 5.",
        "Each point increases your speed by 1 level.",
        "Each point increases your critical hit chance by 0.5pp.",
        "Each point increases your damage by 0.5%.",
        "Each point increases your physical defense by 0.5%.",
        "Each point gives you 1% magic defense against monsters.",
    };
    if (index < 0 || index >= kTalentCount)
        return "";
    return kDescriptions[index];
}

std::string CStatus::TalentLimitText(int index) {
    if (index < 0 || index >= kTalentCount)
        return "";
    const int cap = TalentTable::kTable[index].cap;
    if (cap == 0)
        return "There is no maximum limit.";
    return "The maximum is " + std::to_string(cap) + " points.";
}

void CStatus::Draw() {
    if (!dialog)
        return;
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root ? root->lightColor : 0xFF000000;
    const uint32_t dark = root ? root->darkColor : 0xFF000000;
    const int x = dialog->x + 8;
    const int fy = dialog->y;
    const int fw = dialog->width;
    const int fh = dialog->height;

    graphics->RenderBox(x, fy + 25, fw - 33, 20, dark, light, 0);
    graphics->RenderRectangle(dark, dialog->x + fw - 17, fy + 20, 1, fh - 32);
    graphics->RenderBox(x, fy + 50, fw - 33, fh - 67, dark, light, kBackground);
    ClipRect clip;
    clip.left = float(x);
    clip.top = float(fy + 51);
    clip.right = float(x + fw - 33);
    clip.bottom = float(fy + fh - 18);
    graphics->EnableClipper(clip);
    int y = fy + 50 - kScrollStep * (scrollbar ? scrollbar->GetPosition() : 0);
    if (page == 0) {
        DrawSkillsPage(x, y);
        gui->RemoveTooltip(kFirstTooltipKey + kLastTalentRow);
    } else {
        DrawTalentsPage(x, y);
        gui->RemoveTooltip(kFirstTooltipKey + kBrewingRow);
    }
    graphics->DisableClipper();
}

void CStatus::DrawSkillsPage(int x, int& y) {
    DrawStatLine("Health", Unsigned(health), Percent(health, maxHealth), x, y, kHealthColor);
    DrawStatLine("Mana", Unsigned(mana), Percent(mana, maxMana), x, y, kManaColor);
    DrawStatLine("Level", Unsigned(level), kNoBar, x, y, 0);
    std::ostringstream rate;
    rate << "Your current experience rate is " << experienceRate << "x.";
    SetRowTooltip(0, LeftToAdvance(experiencePercent), rate.str(), x, y, 18);
    DrawStatLine("Experience", experience, experiencePercent, x, y, kProgressColor);
    DrawSeparator(y);

    SetSkillTooltip(1, magicLevelPercent, x, y);
    DrawSkillLine("Magic Level", Unsigned(magicLevel), magicLevelPercent, magicLevelBonus, x, y, kProgressColor);
    static const char* const kFightSkills[3] = {"Melee", "Distance", "Defending"};
    for (int s = 0; s < 3; ++s) {
        SetSkillTooltip(2 + s, skills[s].percent, x, y);
        DrawSkillLine(kFightSkills[s], Unsigned(skills[s].level), skills[s].percent, skills[s].bonus, x, y,
                      kProgressColor);
    }
    DrawSeparator(y);

    // Slot 5 is not shown; its tooltip key would be 57, which the talents use.
    static const struct {
        const char* label;
        int slot;
        int row;
    } kCrafts[3] = {{"Fishing", 3, 5}, {"Gathering", 4, 6}, {"Brewing", 6, kBrewingRow}};
    for (const auto& craft : kCrafts) {
        const Skill& skill = skills[craft.slot];
        SetSkillTooltip(craft.row, skill.percent, x, y);
        DrawStatLine(craft.label, Unsigned(skill.level), skill.percent, x, y, kCraftColor);
    }
}

void CStatus::DrawTalentsPage(int x, int& y) {
    SetRowTooltip(0, "Open the Talents Dialog to assign unused talent points.", "", x, y, 12);
    DrawStatLine("Unused Points", Unsigned(unusedPoints), kNoBar, x, y, 0);
    DrawSeparator(y);
    for (int k = 0; k < kTalentCount; ++k) {
        const TalentTable::Talent& talent = TalentTable::kTable[k];
        SetRowTooltip(1 + k, TalentDescription(k), TalentLimitText(k), x, y, 18);
        const int percent = talent.cap > 0 ? Percent(talents[k], talent.cap) : 0;
        DrawStatLine(talent.name, Unsigned(talents[k]), percent, x, y, kProgressColor);
    }
}

void CStatus::DrawSeparator(int& y) {
    const GUIControl* root = gui->root;
    const uint32_t light = root ? root->lightColor : 0xFF000000;
    const uint32_t dark = root ? root->darkColor : 0xFF000000;
    app->graphics->RenderRectangle(dark, dialog->x + 13, y + 6, dialog->width - 45, 1);
    app->graphics->RenderRectangle(light, dialog->x + 13, y + 7, dialog->width - 45, 1);
    y += 8;
}

void CStatus::DrawStatLine(const std::string& label, uint64_t value, int percent, int x, int& y, uint32_t color) {
    DrawSkillLine(label, value, percent, 0, x, y, color);
}

void CStatus::DrawSkillLine(const std::string& label, uint64_t value, int percent, int bonus, int x, int& y,
                            uint32_t color) {
    // Eight digits fit the row; more are shown in thousands.
    std::string text = value > 9999999 ? std::to_string(value / 1000) + "k" : std::to_string(value);
    if (bonus > 0)
        text += " + " + std::to_string(bonus);
    else if (bonus < 0)
        text += " - " + std::to_string(-int64_t(bonus));
    DrawRow(label, text, percent, x, y, color);
}

void CStatus::DrawRow(const std::string& label, const std::string& value, int percent, int x, int& y,
                      uint32_t color) {
    if (!dialog)
        return;
    const bool bar = percent != kNoBar;
    const int rowHeight = bar ? 23 : 15;
    const int y0 = y;
    if (y0 + rowHeight < dialog->y) {
        y = y0 + rowHeight;
        return;
    }
    if (y0 > dialog->y + dialog->height)
        return;
    Graphics* graphics = app->graphics;
    const int w = dialog->width;
    graphics->RenderText(label, x + 5, y0 + 3, kLabelColor, true);
    graphics->RenderText(value, x + w - 40 - app->TextWidth(value), y0 + 3, kLabelColor, true);
    y += 15;
    if (!bar)
        return;
    const Settings* settings = Client::Instance()->settings;
    graphics->RenderBox(x + 5, y + 3, w - 45, 5, settings->GetSkinShadowColor(), settings->GetSkinHighlightColor(),
                        kBarBack);
    const int shown = std::clamp(percent, 0, 100);
    graphics->RenderRectangle(color, x + 6, y + 4, int(std::ceil(double(w - 47) / 100.0 * shown)), 3);
    y += 8;
}

void CStatus::SetRowTooltip(int index, const std::string& line1, const std::string& line2, int x, int y,
                            int height) {
    if (!dialog)
        return;
    const int key = kFirstTooltipKey + index;
    const int contentTop = dialog->y + 51;
    int top = y + 5 - contentTop;
    if (top < 0) {
        if (top <= -height) {
            gui->RemoveTooltip(key);
            return;
        }
        height += top;
        top = 0;
    }
    const int bottom = dialog->height - 68;
    if (top + height > bottom) {
        if (top > bottom) {
            gui->RemoveTooltip(key);
            return;
        }
        height -= top + height - bottom;
    }
    std::vector<std::string> lines{line1};
    if (!line2.empty())
        lines.push_back(line2);
    gui->AddTooltip(key, float(x + 5), float(contentTop + top), float(dialog->width - 45), float(height), lines);
}

void CStatus::SetSkillTooltip(int index, int percent, int x, int y) {
    SetRowTooltip(index, LeftToAdvance(percent), "", x, y, 18);
}
