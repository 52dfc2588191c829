// Registers the toolkit's image decoders (PNG, GIF, BMP, ICO) with the core's picture registry.
#pragma once

namespace velmora::ui {

// Idempotent; call once at start-up, after the application object exists.
void RegisterQtPictureLoaders();

} // namespace velmora::ui
