#include "shell/progress.h"

#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"

namespace zarv::shell {

std::string ProgressText(double done, double total, double elapsedSeconds, bool withEstimate) {
  const double percent = total > 0 ? Int(100 * done / total + 0.5) : 0;
  std::string text = Format(percent, "#0") + "％完了しました";
  if (withEstimate && done > 0) {
    const double remaining = elapsedSeconds / done * (total - done) + 0.3;
    text += "\r\nあと" + Format(remaining, "##0") + "秒かかります";
  }
  return text;
}

int ProgressBarWidth(const std::string& caption) {
  const double p = Val(caption);
  const double width = p * 180 / 100;
  if (!(width > 0)) return 0;
  return width >= 180 ? 180 : CheckedTruncate<int>(width);
}

}  // namespace zarv::shell
