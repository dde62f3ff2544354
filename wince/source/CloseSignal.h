// Stands in for: the delivery of the desktop's close request (internal).
// Limits: see wince/Signals.h. Depends on: WindowTable, MessageQueue.
#pragma once

// When a close signal has arrived since the last delivery and the program
// has a window: posts WM_CLOSE to each of its windows. Called on every peek.
void postSignalledClose();
