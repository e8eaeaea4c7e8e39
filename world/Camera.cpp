#include "world/Camera.h"

#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "net/OutMessage.h"
#include "world/Creature.h"
#include "world/Map.h"

void Camera::SetCreature(Creature* followed) {
    creature = followed;
    if (followed && g_app)
        g_app->SetTitle("Velmora Online (" + followed->name + ")", true);
}

int Camera::GetX() {
    if (!creature && map)
        if (Creature* player = map->FindCreature(map->playerId))
            SetCreature(player);
    return creature ? creature->position.x - 8 : x;
}

int Camera::GetY() { return creature ? creature->position.y - 6 : y; }

int Camera::GetZ() { return creature ? creature->position.z : 7; }

void Camera::GetFollowedOffset(int* dx, int* dy, int tile) {
    if (creature)
        creature->WalkOffset(dx, dy, tile);
}

void Camera::Walk(int direction, bool turnOnly) {
    // Only the eight directions have a request; anything else would send a
    // turn without its direction or an opcode that is no step.
    if (!creature || direction < 1 || direction > 8)
        return;
    static WorldHooks none;
    WorldHooks& hooks = map ? map->Hooks() : none;
    hooks.StopMouseWalk();
    if (!creature->stopped || creature->walkProgress < 1.0f || creature->cloneOf)
        return;

    // After a diagonal step the next keyboard step waits a while. A speed of 0
    // or less would divide by zero; it waits for nothing.
    const int speed = int(creature->speed);
    if (speed > 0 && creature->lastDiagonalStep != 0) {
        const uint64_t limit = uint64_t(2.5 * (1000.0 / (double(speed) / 150.0)));
        if (GetMilliseconds() - creature->lastDiagonalStep < limit)
            return;
    }

    OutMessage message;
    if (turnOnly) {
        creature->direction = direction;
        message.WriteU8(0x0D);
        message.WriteU8(uint8_t(direction));
        hooks.Send(message);
        return;
    }
    if (!creature->CanMove(direction)) {
        hooks.SetStatusText("You can not move there.");
        return;
    }
    hooks.HidePagedText();
    creature->direction = direction;
    creature->Step();
    message.WriteU8(uint8_t(direction + 3));
    hooks.Send(message);
}
