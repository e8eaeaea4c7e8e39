#include "tests/patcher/PatcherFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

#include "client/MainMenu.h"
#include "client/Settings.h"
#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "protocol/Protocol.h"
#include "tests/support/GuiInput.h"

namespace {

void Put16(std::string& out, uint32_t value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

const uint32_t kDosTime = 0x51210000;

}  // namespace

std::string MakePackage(const std::vector<PackageEntry>& entries) {
    std::string out;
    std::string central;
    for (const PackageEntry& entry : entries) {
        const uint32_t offset = uint32_t(out.size());
        uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), uInt(entry.data.size())));
        if (entry.wrongCrc)
            crc ^= 0x10000;
        const uint32_t size = uint32_t(entry.data.size());
        const uint32_t claimed = entry.claimedSize ? entry.claimedSize : size;
        const bool folder = !entry.name.empty() && entry.name.back() == '/';

        Put32(out, entry.brokenLocalHeader ? 0x04034BFF : 0x04034B50);
        Put16(out, 20);  // version needed
        Put16(out, 0);   // flags
        Put16(out, 0);   // stored
        Put32(out, kDosTime);
        Put32(out, crc);
        Put32(out, size);
        Put32(out, claimed);
        Put16(out, uint32_t(entry.name.size()));
        Put16(out, 0);
        out += entry.name;
        out += entry.data;

        Put32(central, 0x02014B50);
        Put16(central, 20);  // made by: MS-DOS, so the attributes are DOS bits
        Put16(central, 20);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, kDosTime);
        Put32(central, crc);
        Put32(central, size);
        Put32(central, claimed);
        Put16(central, uint32_t(entry.name.size()));
        Put16(central, 0);  // extra
        Put16(central, 0);  // comment
        Put16(central, 0);  // disk
        Put16(central, 0);  // internal attributes
        Put32(central, folder ? 0x10 : 0x20);
        Put32(central, offset);
        central += entry.name;
    }
    const uint32_t centralOffset = uint32_t(out.size());
    out += central;
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(entries.size()));
    Put16(out, uint32_t(entries.size()));
    Put32(out, uint32_t(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}

std::string HttpAnswer(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

int HookedSockets::Select(platform::SocketSet* readable, platform::SocketSet* writable, uint32_t timeoutMs) {
    ++selects;
    if (onSelect)
        onSelect(selects);
    return FakeSockets::Select(readable, writable, timeoutMs);
}

PatcherFixture::PatcherFixture() {
    fixture.platform.folders.commonAppData = fixture.dir.Path("common");
    std::filesystem::create_directories(Common());
    fixture.WriteGraphicsFile();
    fixture.WriteOptions("[options]\nfpslimit=0\n");
    // What Client::Init does, but for the window: the patcher needs none, and
    // the Windows build registers its window class only once per process,
    // where every test here makes a client of its own.
    client = &fixture.MakeClient();
    // The menu asks the status server once its period has passed, which a slow
    // machine reaches inside one test: its socket would count among the patch's.
    client->statusHost.clear();
    client->protocol = new Protocol();
    client->settings = new Settings();
    EXPECT_TRUE(client->CreateEngine(kEngineDirect3D));
    client->gfxVersion = int32_t(client->app->sprites->Load(fixture.dir.Path("velmora.gfx")));
    client->app->SetFont(client->app->sprites->DecodeSprite(2), true);
    client->menu = new MainMenu();
}

std::string PatcherFixture::Common(const std::string& name) const {
    return fixture.dir.Path("common") + (name.empty() ? "" : "/" + name);
}

std::string PatcherFixture::ShownBox() const {
    GUIManager* gui = client->app->gui;
    const GUIDialog* box = dynamic_cast<GUIDialog*>(gui->FindControl(GUIManager::kMessageBoxId));
    const GUIText* text = dynamic_cast<GUIText*>(gui->FindControl(GUIManager::kMessageTextId));
    if (!box)
        return std::string();
    return box->title + ": " + (text ? text->text : std::string());
}

void PatcherFixture::Click(int32_t id) {
    GUIControl* control = client->app->gui->FindControl(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    GuiInput input(*client->app, fixture.platform.keys);
    input.Click(control->x + control->width / 2, control->y + control->height / 2);
}

void PatcherFixture::UpdateGui() {
    Graphics* graphics = client->app->graphics;
    if (graphics->BeginScene()) {
        client->app->gui->Update();
        graphics->EndScene();
    }
}
