// The art the start screen draws and caches in the Temp folder: the
// instrument panel's face and mask for the current screen size (and, in
// developer mode, two chart-paper strips), the colour-depth probe, and the
// sky backgrounds of the replay.
//
// File names and sizes (S the screen scale, N the screen-size choice):
//   PanelN.bmp, MaskN.bmp   540S x 220S   face on black / silhouette black on white
//   graph1.bmp, graph2.bmp  73 x 430      developer mode only
//   zarv.bmp                25 x 25       radial grey gradient; only its length is read
//   BackN.bmp, CBackN.bmp   660S x 1400S  sky over the lake / over grey ground
#pragma once

#include <string>

#include "platform/ui/surface.h"
#include "view/sky_ground.h"

namespace zarv::view {

// The drawings themselves, for tests and the files below.
void DrawPanelFace(Surface& picture, double screenScale, double fontScale);
void DrawPanelMask(Surface& picture, double screenScale);
void DrawChartPaper(Surface& picture, int which);  // 1 or 2
void DrawGradientProbe(Surface& picture);
// smooth: the probe was 1000 bytes or more. lake: the lake or the grey ground.
void DrawSkyBackground(Surface& picture, double screenScale, bool smooth, const SkyTables& sky,
                       bool lake);

// Draws and saves the panel face and mask of sizeChoice (0, 1, 2) into
// tempFolder; in developer mode the chart-paper strips first. False when a
// file could not be written.
[[nodiscard]] bool SavePanelArt(const std::string& tempFolder, double screenScale, double fontScale,
                                int sizeChoice, bool developerMode);
// Saves zarv.bmp into tempFolder.
[[nodiscard]] bool SaveGradientProbe(const std::string& tempFolder);
// Saves BackN.bmp and CBackN.bmp (no files for another choice).
[[nodiscard]] bool SaveSkyBackgrounds(const std::string& tempFolder, double screenScale, int sizeChoice,
                                      double gradientLength, const SkyTables& sky);

// All cached art of one screen size (for the benchmark and tools): the
// probe, the sky backgrounds and the panel art, into folder.
bool DrawCachedScreenArt(double screenScale, const std::string& folder, const SkyTables& sky,
                         double gradientLength = 2000, double fontScale = 1.0);

// Screen-size choice of a scale (1.25 -> 1, 1.6 -> 2, else 0).
int SizeChoiceOf(double screenScale);

}  // namespace zarv::view
