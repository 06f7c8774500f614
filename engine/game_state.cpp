#include "engine/game_state.h"

GameState gameState = Title;
int lives = StartingLives;
int countdown = 0;
int stageNumber = 0;
int paused = 0;
unsigned char lastKey = 0;
int lastSpecialKey = 0;
float padX = 0.0f;
float padY = 0.0f;
float arrowX = 0.0f;
float arrowY = 0.0f;
int waitLevel = 0;
int waitShow = 0;
int beepRequest = 0;
