// The modal boxes as the home platform shows them: words alone on their
// buttons, and a title bar with the close button but no minimise or maximise
// button.
#pragma once

class QDialog;

namespace pellmora {

namespace dialoglook {

// Call before the box is shown.
void Apply(QDialog& dialog);

}  // namespace dialoglook

}  // namespace pellmora
