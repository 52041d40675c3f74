#pragma once
/// Decodes a JPEG picture with libjpeg into a QImage (the window's background does not go through Qt's
/// image plugins). It does not scale or convert colour spaces beyond what libjpeg does.

#include <QImage>

#include <string_view>

namespace ep::qt {

/// The decoded picture; a null image when the bytes are not a JPEG that libjpeg can give as RGB.
QImage DecodeJpeg(std::string_view bytes);

} // namespace ep::qt
