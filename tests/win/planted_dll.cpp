// A library planted in the working folder: the program must never load it.
extern "C" __declspec(dllexport) int QuendrilPlanted() { return 42; }
