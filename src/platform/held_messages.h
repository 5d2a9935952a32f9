#pragma once
// Messages that came during a wait for an outside program and are handled after the command
// that waited: kept by the tool itself, in the order they came. Posted back to the thread's
// queue instead, they would be taken again by any loop the system runs during the wait (moving
// the window, its menu) and posted again, round and round.
#include <windows.h>

void HoldMessage(const MSG& message);
// The oldest held message, taken from the hold; false when none is held.
bool TakeHeldMessage(MSG& message);
// Forgets every held message (the tool is closing: nothing more is to run), releasing the
// drops among them.
void DropHeldMessages();
