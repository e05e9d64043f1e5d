#pragma once
// Saves under way anywhere in the process (on the main thread or the background writer's):
// an end of the program that comes meanwhile waits for them, so that a second termination
// signal never cuts a save between its side file and its rename, nor between the files of
// one save, and the program still ends with status 0.

// Begins and ends a write under way; they nest. The last to end ends the process (status
// 0) when endOnceWritesAreDone was called meanwhile.
void beginWriteUnderWay();
void endWriteUnderWay();
// Whether a write is under way now.
bool writesUnderWay();
// Async-signal-safe. Ends the process with status 0 now when nothing is being written;
// otherwise returns, and the last write under way ends it as it finishes.
void endOnceWritesAreDone();

// A write under way for as long as it lives.
class WriteUnderWay {
public:
    WriteUnderWay() { beginWriteUnderWay(); }
    ~WriteUnderWay() { endWriteUnderWay(); }
    WriteUnderWay(const WriteUnderWay&) = delete;
    WriteUnderWay& operator=(const WriteUnderWay&) = delete;
};
