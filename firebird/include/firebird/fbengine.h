// SPDX-License-Identifier: MIT
// Process-wide set-up and shutdown of the Firebird client and its embedded engine.
#pragma once

#include <QString>

namespace zc::fb {

/// Points FIREBIRD_LOCK at a folder of the current user when it is unset, and creates it.
///
/// The engine's default lock folder (/tmp/firebird) is owned by whoever ran Firebird
/// first, which locks every other user out of the embedded engine. Must run before the
/// process's first attachment; later calls do nothing. Returns the folder in use
/// (empty when no private folder could be made and the default stays).
QString EnsureLockFolder();

/// Ends every attachment and the engine with fb_shutdown.
///
/// A signal caught while attached (SIGCHLD of a child included) can make a plain detach
/// spin for ever; fb_shutdown does not. After this call no Firebird object touches the
/// client any more: their destructors only forget their handles.
void ShutdownEngine();

/// True once ShutdownEngine has run.
bool EngineShutDown();

} // namespace zc::fb
