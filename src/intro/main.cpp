#include "intro/intro.h"
#include "runtime/startup.h"

int main() { return vesk::RunProgram(vesk::RunIntro); }
