#include "core/RecentPaths.h"

#include <algorithm>
#include <span>

namespace tessaro {
namespace {

// The compared and listed ranges end at the last slot whatever the count says.
std::int16_t LastListedSlot(std::int16_t slotNumber) {
  return std::min<std::int16_t>(static_cast<std::int16_t>(slotNumber + 1), kRecentSlots - 1);
}

}  // namespace

std::int16_t fctSaveLastPath(const AppState& app, const std::wstring& /*sPath*/) {
  std::int16_t intEmptySlots = 0;
  for (const auto& slot : app.arrLastPath) {
    if (slot.empty()) ++intEmptySlots;
  }
  if (intEmptySlots > 5) intEmptySlots = 0;
  return static_cast<std::int16_t>(intEmptySlots + 1);
}

std::vector<std::wstring> FillRecentList(AppState& app) {
  // Right after a reset the list starts empty and the first path goes to slot 0.
  if (app.intNextPath == 0 && app.blnResetRestart == kTrue) return {};

  app.intNextPath = fctSaveLastPath(app, app.strTargetPath);
  const std::int16_t last = LastListedSlot(app.intNextPath);
  return {app.arrLastPath.begin(), app.arrLastPath.begin() + last + 1};
}

std::optional<std::wstring> RecordMappedPath(AppState& app) {
  const std::int16_t last = LastListedSlot(fctSaveLastPath(app, app.strTargetPath));
  const auto compared = std::span(app.arrLastPath).first(static_cast<std::size_t>(last) + 1);
  const bool isNew =
      std::find(compared.begin(), compared.end(), app.strTargetPath) == compared.end();
  std::optional<std::wstring> listed;
  if (isNew) listed = app.strTargetPath;

  if (app.intNextPath < 0 || app.intNextPath > kRecentSlots - 1) app.intNextPath = 0;
  app.arrLastPath[static_cast<std::size_t>(app.intNextPath)] = app.strTargetPath;
  ++app.intNextPath;
  return listed;
}

}  // namespace tessaro
