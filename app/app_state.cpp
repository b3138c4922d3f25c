#include "app/app_state.h"

#include <cstdlib>

#include "store/characters.h"

AppState appState;

CharacterEntry* GetCharacterList()
{
    return appState.characters;
}

void ReleaseStore()
{
    ReleaseCharacters(&appState.characters);
    free(appState.savePath);
    appState.savePath = nullptr;
}
