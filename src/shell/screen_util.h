// Small helpers the shell's screens share.
#pragma once

#include <cstdint>

#include "platform/ui/form.h"
#include "platform/ui/surface.h"

namespace zarv::shell {

// Left = centreX - width / 2, Top = centreY - height / 2 (twips), never negative.
void CentreOnWindowCentre(Form& form, int32_t centreX, int32_t centreY);
// Puts the window back to the size saved for its slot (when one is saved).
void KeepSavedSize(Form& form, int slot, bool normalOnly);
void SaveFormSize(Form& form, int slot);
// The raised border of the start and notice screens, drawn with the given pen width.
void DrawRaisedBorder(Form& form, int width);

}  // namespace zarv::shell
