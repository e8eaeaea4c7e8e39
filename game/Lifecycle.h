#pragma once

// The game screen builds and frees several dozen parts in a fixed order, and
// saving the layout depends on that order. The parts note their construction,
// their closing and their destruction here; nothing listens in the program,
// tests install a sink to check the order.
namespace lifecycle {

using Sink = void (*)(const char* event);
extern Sink sink;

inline void Note(const char* event) {
    if (sink)
        sink(event);
}

}  // namespace lifecycle
