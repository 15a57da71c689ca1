// The progress dialog's text and bar, without the screen.
#pragma once

#include <string>

namespace zarv::shell {

// "19％完了しました", and with the estimate CR LF "あと17秒かかります": the
// remaining seconds are elapsed / done x (total - done) + 0.3.
std::string ProgressText(double done, double total, double elapsedSeconds, bool withEstimate);

// Width in pixels of the bar for a progress text: its leading number as a
// percentage of the 180-pixel well (0..180).
int ProgressBarWidth(const std::string& caption);

}  // namespace zarv::shell
