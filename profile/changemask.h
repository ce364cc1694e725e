// Which groups of settings differ between the working store and what was last written to the
// mouse, so that "Apply" sends only those. Called by the apply worker while the user-interface
// thread waits; it reads (and may rewrite) macro files, nothing else.
#pragma once

#include "profile/profiledata.h"

namespace mc {

constexpr int kMaskGeneral = 1;  // report rate, wheel speed, sensor options, slot, stage, light
constexpr int kMaskDpi = 2;      // the DPI stages
constexpr int kMaskButtons = 4;  // button assignments and macros
constexpr int kMaskLighting = 8; // the lighting effect of each slot
constexpr int kMaskAll = kMaskGeneral | kMaskDpi | kMaskButtons | kMaskLighting;

// The mask of groups to send. A macro assignment whose macro file carries the mark
// `Setting/WriteSign` (edited since last sent) counts as changed; the mark is consumed here:
// the file then holds 0. Macro names that are not plain file names are never opened.
int ComputeChangeMask(const ProfileStore &working, const ProfileStore &written);

} // namespace mc
