// The lobby's sounds, which the tables play too. Declared here for the game modules; the main
// window defines them, as it loads them into the sound bank with the lobby.
//
// UI thread only.
#pragma once

// Each plays its sound; nothing while sound is off.
void Main_PlayClickSound();
void Main_PlayYourTurnSound();
void Main_PlayPassSound();
void Main_PlayCardSound();
bool Main_IsSoundEnabled();
