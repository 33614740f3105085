// SPDX-License-Identifier: MIT
// The colour test's rotary menu configuration, shared by the demo and the paint benchmark.
#pragma once

class TRotaryMenu;

/// Configures `menu` as the colour test window shows it after its spin-in: 656 x 658, a
/// 150 pixel ring without shadow offset, the ten gems with their fills and hints. With
/// `captions` every item's caption is its hint. Leaves the menu at rest (start angle 0).
void ConfigureAppPreset(TRotaryMenu &menu, bool captions);
