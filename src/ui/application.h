#pragma once

class QApplication;

namespace voltmetr {

// Fonts, Qt's own Czech texts and the window icon, set once before the first window opens.
void prepareApplication(QApplication& app);

} // namespace voltmetr
