#pragma once

#include <QString>

// POSIX signals reach the event loop through a connected socket pair: the
// handler only writes the signal number (4 bytes, native order) to the write
// end, everything else happens on the main thread.

// Creates a pair and makes its write end the one the handler writes to.
// Returns false (and leaves the previous write end in use) on failure.
bool createSignalSocketPair(int &iReadFd);

// The handler itself: writes the signal number to the current write end.
extern "C" void writeSignalToSocket(int iSignal);

// Text logged on the main thread for a signal read from the pair once the
// daemon is connected, and whether it ends the daemon.
QString connectedSignalText(int iSignal, bool *pbExit);

// The same for the early path before the first bus connection; empty for
// signals the early path does not handle.
QString earlySignalText(int iSignal);

// Reads one signal number from the read end; -1 when none could be read.
int readSignalNumber(int iReadFd);
