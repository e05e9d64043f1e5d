// Preloaded into every program of the sanitizer suite: dlclose does nothing, so the
// libraries SDL opens at run time (X11 extensions, EGL, the Mesa drivers) stay loaded to
// the end of the process. LeakSanitizer then still sees their globals, which hold most of
// what they allocated, and names them in a report instead of "<unknown module>", so a
// suppression can say whose memory it is. Our own code is never loaded this way.

extern "C" int dlclose(void*) { return 0; }
