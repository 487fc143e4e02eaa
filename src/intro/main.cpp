#include "intro/intro.h"
#include <vesk/runtime/startup.h>

int main() { return vesk::RunProgram(vesk::RunIntro); }
