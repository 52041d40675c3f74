#include "link/device_link.h"

#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "model/blocks.h"
#include "model/controls.h"
#include "model/display_formats.h"
#include "runtime/text.h"
#include "ui/window.h"

namespace ep {

bool IsOnline() { return ControlNamed(controls::StatusLabel).readText(prop::label::Caption) == "已联机"; }

bool SetShown() {
    return IsOnline() && DumpActive == 0 && EffectSetText().size() == static_cast<std::size_t>(EffectSetLength);
}

bool IsOfflineCaption() { return ControlNamed(controls::StatusLabel).readText(prop::label::Caption) == "未联机"; }

Control& EffectSetBox() { return ControlNamed(controls::EffectSetBox); }

Text EffectSetText() { return EffectSetBox().readText(prop::editbox::Content); }

void SetEffectSetText(const Text& text) { EffectSetBox().write(prop::editbox::Content, text); }

void WriteField(int position, int value) {
    if (DumpActive == 1)
        KeepFieldWrittenDuringCollection(position, value);
    else
        SetEffectSetText(ReplaceText(EffectSetText(), position, 3, ThreeDigitText(value)));
}

SerialLink& PortLink() { return LinkOf(ControlNamed(controls::Port)); }

} // namespace ep
