// SPDX-License-Identifier: MIT
// SIGTERM and SIGINT as an orderly quit of the event loop.
#pragma once

class QApplication;

namespace zc {

/// Blocks SIGTERM, SIGINT and SIGHUP in the calling thread and every thread it starts.
///
/// Must run first in main, before any thread exists and before the first Firebird call:
/// the client library installs handlers of its own that swallow SIGTERM, and a signal
/// caught while attached can make the engine hang at the end.
void BlockTerminationSignals();

/// Takes the blocked signals synchronously (signalfd): when one arrives, open dialogs
/// are rejected and `app` quits, so the program ends through its normal path,
/// fb_shutdown included.
void QuitOnTerminationSignals(QApplication &app);

/// True once a termination signal has arrived; start-up checks it after its modal
/// windows, when quitting the not yet running main loop would be lost.
bool TerminationRequested();

} // namespace zc
