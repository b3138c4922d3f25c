#include "app/app_state.h"

AppState appState;

CharacterEntry* GetCharacterList()
{
    return appState.characters;
}
