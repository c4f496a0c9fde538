// The organiser's entry point. The windows arrive with the shell; until then the program
// prepares its program directory and says what it can do so far.
#include <cstdio>

int main() {
  std::puts("workmemo: the windows are not built yet; nothing to start.");
  return 0;
}
