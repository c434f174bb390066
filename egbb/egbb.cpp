// The engine's endgame bitbase library. It holds no bitbase files yet: it accepts the load call
// and answers every probe with 99999, "no result", which the engine treats as an unknown position.

extern "C" {

__attribute__((visibility("default"))) void load_egbb_5men(char* /*directory*/, int /*cacheBytes*/,
                                                           int /*loadMode*/) {}

__attribute__((visibility("default"))) int probe_egbb_5men(int, int, int, int, int, int, int, int,
                                                           int) {
  return 99999;
}
}
