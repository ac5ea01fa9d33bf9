#pragma once

#include <QCloseEvent>
#include <QObject>
#include <functional>

namespace tama05 {

class Game;

// A close of one of the game's three windows. While the game closes its windows (closing) the
// event is accepted; otherwise (the window manager, Alt+F4, the taskbar) it is ignored and the
// game's exit is asked for, the same road as "終了する".
void CloseOrExit(QCloseEvent* event, bool closing, Game& game);

}  // namespace tama05
