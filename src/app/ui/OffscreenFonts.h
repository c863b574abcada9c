#pragma once
// Qt's offscreen platform on Windows finds fonts only in its own folder
// (or QT_QPA_FONTDIR), where a deployed program has none: every letter of
// a drawing would come out as a box. This points it at Windows' fonts
// before the application object is made; elsewhere it does nothing.

namespace halcyra {

void OfferSystemFontsOffscreen();

} // namespace halcyra
