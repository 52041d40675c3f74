#pragma once
/// 保存 and 打开文件: the EffectSet saved to a preset file and loaded back, through the common dialog
/// 通用对话框1. A loaded set is sent to the device and shown while online; offline it only waits in the
/// EffectSet.

#include "ui/window.h"

namespace ep {

void SaveEffectFile(const EventContext& context);
void LoadEffectFile(const EventContext& context);

/// What 打开文件 does once its dialog has chosen the path, which the next showing of the dialog starts with.
void LoadPresetFile(const Text& path);

} // namespace ep
