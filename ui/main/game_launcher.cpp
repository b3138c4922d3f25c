#include "ui/main/game_launcher.h"

void ActivateGame() {}
