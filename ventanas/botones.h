#pragma once

#include <functional>

class QAbstractButton;

// A command button: a click runs its click handler; Enter and Space on the
// focused button click it, as on every desktop; any other character key runs
// its key handler with the character's code and is consumed. Without a key
// handler other keys do nothing.
void ConectarBoton(QAbstractButton* boton, std::function<void()> clic, std::function<void(int)> tecla = {});
