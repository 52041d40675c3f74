#include "params/param_handlers.h"

#include "params/label_handlers.h"
#include "params/slider_handlers.h"

namespace ep {

void RegisterParameterHandlers(HandlerRegistry& handlers) {
    handlers.add("MicSliderChanged", MicSliderChanged);
    handlers.add("KtvSliderChanged", KtvSliderChanged);
    handlers.add("RevHighCutSliderChanged", RevHighCutSliderChanged);
    handlers.add("MusicPageSliderChanged", MusicPageSliderChanged);
    handlers.add("VolumeSliderChanged", VolumeSliderChanged);
    handlers.add("KtvDelaySliderReleased", KtvDelaySliderReleased);
    handlers.add("ColourSwitchPressed", ColourSwitchPressed);
    handlers.add("MuteSwitchPressed", MuteSwitchPressed);
    handlers.add("CaptionSwitchPressed", CaptionSwitchPressed);
    handlers.add("ChoiceLabelPressed", ChoiceLabelPressed);
    handlers.add("TopSelectorClosed", TopSelectorClosed);
    handlers.add("BlockSelectorClosed", BlockSelectorClosed);
    handlers.add("LimitBoxChanged", LimitBoxChanged);
}

} // namespace ep
