// Brings the running game up, or starts it.
#pragma once

void ActivateGame();
