// Stands in for: the user closing the program from outside its window. On
// the phone that was the close button; on Linux a desktop or terminal asks
// with SIGINT (Ctrl-C) or SIGTERM, and a terminal that closes sends SIGHUP.
// Limits: only these three signals; the request reaches the program at its
// next message peek (a loop that peeks no messages sees it when it peeks
// again). Depends on: POSIX sigaction, the window table and message queue.
#pragma once

// From now on the first SIGINT, SIGTERM or SIGHUP becomes WM_CLOSE, posted
// to every window the program has (once one exists), as the close button
// would, so the program ends its usual way; a second one ends the process at
// once, as without this call. A signal the process was started ignoring stays
// ignored. The stand-in's process entry calls it before WinMain.
void WinceCloseOnSignals();
