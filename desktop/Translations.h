// Qt's own texts (the boxes' standard buttons) in Japanese, like every text
// of the game, whatever the desktop's language.
#pragma once

namespace pellmora {

namespace translations {

// Loads Qt's Japanese translation into the running application. False when
// the translation file is not installed; the buttons then keep Qt's words.
bool InstallJapanese();

}  // namespace translations

}  // namespace pellmora
