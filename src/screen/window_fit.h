// Where the keyboard opens: its stored or default geometry, made to fit the
// work area of the monitor it opens on.
#pragma once

#include <vector>

#include "layout/model.h"
#include "platform/settings_store.h"
#include "settings/settings_keys.h"

namespace osk {

struct Fitted {
  Geometry geometry;
  // The factor the window's size was multiplied by: 1 where it fits as it
  // is, below 1 where it had to shrink (the keys are to shrink with it).
  double scale = 1;
};

// The monitor the window opens on is the one whose work area it overlaps
// most, or the nearest one when it overlaps none. A window larger than that
// work area in either direction is shrunk, keeping its proportions, until it
// just fits, and moved wholly inside it. Any other window keeps its size
// exactly: one partly visible keeps its place too (someone may have pushed
// it half out of the way), one wholly off every monitor is brought onto the
// nearest. Work areas of no size are ignored; without any, nothing changes.
Fitted fitToWorkArea(const Geometry& g, const std::vector<Geometry>& workAreas);

// `grown` is a window that grew upwards from a top edge at `formerTop`.
// Where that pushes its top edge, and with it the title bar, above the
// work area it opens on, the top stays at the work area's top and the
// window grows downwards instead. A window that was already above the work
// area (pushed half out of the way) keeps its top where it was.
Geometry keepTopOnScreen(const Geometry& grown, float formerTop, const std::vector<Geometry>& workAreas);

// `grown` is a window that grew rightwards from a right edge at
// `formerRight`. Where that pushes its right edge past the work area it
// opens on, the window moves left until the edge is back on it (never past
// the area's left edge: a window wider than the area is for fitToWorkArea to
// shrink). A window that was already past the right edge keeps its right
// edge where it was.
Geometry keepRightOnScreen(const Geometry& grown, float formerRight, const std::vector<Geometry>& workAreas);

// Gives `form` the geometry stored under `keys`, fitted as above to the
// work areas. The default size is the one its layout is drawn at: at any
// other size (a stored one, or one shrunk to fit) the controls scale.
void placeAsStored(Form& form, const SettingsStore& store, const settings::GeometryKeys& keys,
                   const std::vector<Geometry>& workAreas);

}  // namespace osk
