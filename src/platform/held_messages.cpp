#include "platform/held_messages.h"

#include <deque>

namespace {

// The tool has one thread; each thread would have its own hold.
thread_local std::deque<MSG> held;

}  // namespace

void HoldMessage(const MSG& message) { held.push_back(message); }

bool TakeHeldMessage(MSG& message) {
    if (held.empty()) return false;
    message = held.front();
    held.pop_front();
    return true;
}

void DropHeldMessages() { held.clear(); }
