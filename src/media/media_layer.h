#pragma once
// The game's whole contact with the machine: screen, pictures, drawing state,
// input, clock, random numbers, files, folder listing and sound.
// Two implementations: SdlMedia (ships) and ScriptedMedia (tests, no window).

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media/draw/draw_state.h"
#include "media/files/file_types.h"
#include "media/game_pad.h"
#include "media/input_state.h"
#include "media/pictures/image.h"
#include "media/random_generator.h"
#include "media/screen.h"
#include "media/sound/sound.h"

// Owned behind a pointer, so that the game does not compile against their threads and locks.
struct MediaParts;
class FileTable;
class Mixer;
class MusicDecoder;
struct WriteCalls;

class MediaLayer {
public:
    // The shipping layer decodes music on its own thread; tests may decode by hand.
    explicit MediaLayer(MusicDecoding musicDecoding = MusicDecoding::OwnThread);
    virtual ~MediaLayer();
    MediaLayer(const MediaLayer&) = delete;
    MediaLayer& operator=(const MediaLayer&) = delete;

    // ---- Screen and frames -------------------------------------------------
    // Opens the 800 x 600 screen (depth 0 = window), sets the draw state defaults,
    // runs the refresh probe and centres the pointer. False on failure.
    virtual bool openScreen(int width, int height, int depth, int refreshHz, int flags) = 0;
    // Shows the back buffer, paced to one display refresh (vsync or millisecond schedule).
    // The input queries after it take in the events that came meanwhile.
    void presentFrame();
    // Fills the back buffer with the clear colour (black).
    virtual void clearScreen() = 0;

    // ---- Pictures ------------------------------------------------------------
    // Pictures are named by their paths in the set for the 800 x 600 screen ("gfx/panel.spr")
    // and read from the set of the chosen scale (1, 2 or 3; see picture_sets.h); each keeps
    // its logical size and handle, its frames hold the set's pixels. Scale 1 until changed;
    // pictures already loaded keep theirs. Pictures outside gfx/ are read as they are.
    void setPictureScale(int scale) { pictureSetScale = scale < 1 ? 1 : scale; }
    // The picture set that suits the screen about to be opened (full screen when depth is not
    // 0) on this machine, asked before the pictures load; the one chosen so far where the
    // layer has no display.
    virtual int pictureScaleForScreen(int /*width*/, int /*height*/, int /*depth*/) { return pictureSetScale; }
    int pictureScale() const { return pictureSetScale; }
    // The file a picture of that name is read from at the chosen scale.
    std::string picturePath(const std::string& path) const;
    // One-frame picture decoded by content (TGA, PNG, JPEG, BMP); nullptr when missing, undecodable,
    // or not a whole number of logical pixels at the chosen scale, and then refusal (when given)
    // says why: "No such file or directory", "not a regular file", "not a picture", "cut short: ...",
    // "too large for its header's size: ...", "damaged: ..." and the like.
    std::unique_ptr<Image> loadImage(const std::string& path, int flags = -1, std::string* refusal = nullptr);
    // Picture cut into cellCount cells of cellWidth x cellHeight logical pixels, left to right then
    // top to bottom; nullptr when they do not fit (or as loadImage).
    std::unique_ptr<Image> loadImageStrip(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                                          int cellCount, int flags = -1, std::string* refusal = nullptr);
    // Pictures the game will draw soon (the backgrounds of the screens it may open next): a
    // layer may load them beside the frames and have them made ready to draw, so the frame that
    // first draws one does not wait for it. Nothing else changes: the game still loads what it
    // draws. Asking again replaces the list.
    virtual void preparePicturesSoon(const std::vector<std::string>& /*paths*/) {}
    // Handle at the picture's centre (half pixels for odd sizes).
    static void centreImageHandle(Image& image);
    // Draws one frame as a quad about its handle, with the current draw state.
    virtual void drawImage(const Image& image, float x, float y, int frame) = 0;
    // Fills (0,0)-(width,height) relative to (x, y), transformed like a picture.
    virtual void drawRect(float x, float y, float width, float height) = 0;

    // ---- Drawing state (carries over from draw to draw and frame to frame) ---
    void setDrawColour(int r, int g, int b);
    Colour getDrawColour() const { return draw.colour; }
    void setDrawAlpha(float alpha) { draw.alpha = alpha; }
    float getDrawAlpha() const { return draw.alpha; }
    void setBlendMode(BlendMode mode) { draw.blend = mode; }
    BlendMode getBlendMode() const { return draw.blend; }
    void setDrawRotation(float degrees);
    void setDrawScale(float scaleX, float scaleY);
    const DrawState& drawState() const { return draw; }

    // ---- Input (the first query of a frame takes in the waiting events; the frame's
    // later queries see the same state) ---------------------------------------------
    int mouseX();
    int mouseY();
    // Presses since the previous call for that button; read-and-clear.
    int mouseHits(MouseButton button);
    bool mouseDown(MouseButton button);
    // Presses since the previous call for that key; read-and-clear. Key repeat never counts.
    int keyHits(Key key);
    bool keyDown(Key key);
    // Clears every key-down flag and key-hit counter.
    void flushKeys();
    // The squares a game pad's d-pad steps between (see PadGrid); cells of 48 pixels about
    // the screen's centre until changed.
    void setPadGrid(const PadGrid& grid) { padCells = grid; }
    const PadGrid& padGrid() const { return padCells; }
    // Places the system pointer at a screen position.
    virtual void movePointer(int x, int y) = 0;
    // Hides the system pointer for the rest of the run.
    virtual void hidePointer() = 0;
    // Shows the picture (straight RGBA) as the window's icon in task bars and switchers.
    virtual void setWindowIcon(const PixelBlock& /*picture*/) {}

    // ---- Time and chance ------------------------------------------------------
    // Milliseconds since the system started; wraps after 2^32 ms.
    virtual int millisecs() = 0;
    void seedRandom(int seed) { random.seed(seed); }
    double randomUnit() { return random.unit(); }
    // Uniform integer with both bounds included, given in either order.
    int randomInt(int a, int b) { return random.integer(a, b); }
    // The generator itself, for code that needs chance and nothing else of the machine.
    RandomGenerator& randomGenerator() { return random; }

    // ---- Files (paths relative to the working folder, '\' taken as '/') -----
    Stream openForRead(const std::string& path);
    // Writes go to a side file that replaces the old one only when closed intact.
    Stream openForWrite(const std::string& path);
    // False when a written file did not land: the old file is kept as it was.
    bool closeStream(Stream stream);
    int readU8(Stream stream);
    int32_t readI32(Stream stream);
    void writeI32(Stream stream, int32_t value);
    // Whole file as bytes; false when it cannot be opened or holds more than maxBytes.
    bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes = NoSizeLimit);
    // The same, shown its first bytes and its size first: the rest is read only if it says yes.
    // When the file cannot be opened or is longer than maxBytes, failure (when given) says why.
    bool readWholeFileIf(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes, size_t headBytes,
                         const HeadCheck& acceptHead, std::string* failure = nullptr);
    // Up to maxBytes from the start of a file that may be absent; a read failure never stops the game.
    FileRead readFileStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);
    // The file's contents become the bytes, by way of a side file; false (fileError says
    // why) when the old file stays instead.
    bool replaceFile(const std::string& path, std::span<const uint8_t> bytes);
    // The same off the main thread: returns at once, however slow the disk. A later
    // replaceFile or openForWrite waits for it, so the newest bytes are the ones that stay.
    void replaceFileSoon(const std::string& path, std::vector<uint8_t> bytes);
    // Returns once every write of replaceFileSoon has ended.
    void waitForWrites();
    // How the writes of replaceFileSoon that ended since the last call went.
    std::vector<WriteOutcome> finishedWrites();
    // Removes what writes of the file that were killed part-way left beside it.
    void removeUnfinishedWrite(const std::string& path);
    // Creates a folder and its missing parents, each 0700 (existing ones are left as they
    // are); false when it cannot.
    bool createFolder(const std::string& path);
    // Takes the advisory lock of the file (made when missing), held until unlockFile or until
    // the layer goes, and let go by the system when the process ends however it ends.
    // HeldElsewhere while another process (or another layer) holds it; Failed: fileError says why.
    LockResult lockFile(const std::string& path);
    void unlockFile();
    // The files of one save: a request to end the program that comes between beginSave and
    // endSave and would end it at once (a second one while the first is handled, a second
    // termination signal) waits, and endSave ends the program with every file written.
    // Saves nest.
    void beginSave();
    void endSave();
    // Why the last failed file operation failed ("Permission denied", "No space left on device").
    const std::string& fileError() const;
    // Whether the last failed read or folder listing failed only because nothing is there.
    bool fileMissing() const;
    // The C library calls behind writes; tests replace one to fail like a full disk.
    WriteCalls& fileWriteCalls();
    // Whether the path names a regular file (links followed); never waits, whatever it names.
    bool isRegularFile(const std::string& path);
    DirectoryListing openDirectory(const std::string& path);
    // Plain names in listing order ("." and ".." included), then "" for ever.
    std::string nextDirectoryEntry(DirectoryListing listing);
    void closeDirectory(DirectoryListing listing);
    // ---- Ending the program ------------------------------------------------------
    // Whether the program has been asked to end: a termination, hang-up or interrupt
    // signal, the window's close button, or a lost display. Takes in the waiting events
    // first. Once it has answered yes the request is being handled: a further one ends the
    // program at once, or as soon as the save under way is written.
    bool quitRequested();
    // Message to stderr and exit status -1 (tests: throws FatalError).
    [[noreturn]] virtual void fatalError(const std::string& message) = 0;
    // Every problem the game gets past (no sound, a track skipped, a save that failed):
    // message to stderr; tests collect them.
    virtual void warning(const std::string& message);

    // ---- Sound ---------------------------------------------------------------
    // Decoded whole by content (WAV, then Ogg Vorbis) into 44100 Hz stereo; nullptr when it
    // fails. For effects and the menu theme, which are short.
    SoundPtr loadSound(const std::string& path, int loopFlag);
    // A looping music track streamed from its file: opening reads only the header, the
    // samples are decoded a block at a time off the main thread. New channel, paused or
    // playing at volume 1; 0 when the file cannot be opened or holds no sound it can decode.
    Channel streamTrack(const std::string& path, bool paused);
    // New channel playing from the start at volume 1; 0 for a null sound. Effects unless
    // told it is music (the menu theme).
    Channel playSound(const SoundPtr& sound, SoundGroup group = SoundGroup::Effects);
    // New channel at the start, paused.
    Channel cueSound(const SoundPtr& sound, SoundGroup group = SoundGroup::Effects);
    // The player's volume for all effects or all music, 0 (silent) to 1 (as they are).
    void setSoundGroupVolume(SoundGroup group, float gain);
    void stopChannel(Channel channel);
    void setChannelVolume(Channel channel, float volume);
    void resumeChannel(Channel channel);
    Mixer& soundMixer();
    MusicDecoder& musicDecoder();

protected:
    // Shows the finished frame, paced.
    virtual void showFrame() = 0;
    // Takes in the operating system's (or the script's) waiting events.
    virtual void pumpEvents() = 0;
    // Pumps the events once a frame: SDL's queue is read once, not at every query.
    void takeEvents();
    // A backend's note of a request to end the program; one that comes while an earlier
    // one is being handled ends the program at once.
    void noteQuitRequest();
    // Ends the program at once with status 0, nothing more written.
    [[noreturn]] virtual void endAtOnce() = 0;
    // Told when the game first sees the request, so requests from then on end at once.
    virtual void quitBeingHandled() {}
    // Sets the draw state as openScreen leaves it.
    void resetDrawState();
    // The scale of the pixels a picture of that name is read with.
    int scaleOfPicture(const std::string& path) const;

    DrawState draw;
    int pictureSetScale = 1;
    InputState input;
    PadGrid padCells{ScreenCentreX - 24, ScreenCentreY - 24, 48};
    RandomGenerator random;
    std::unique_ptr<MediaParts> parts;
    FileTable& files;
    Mixer& mixer;
    MusicDecoder& decoder;
    bool eventsTaken = false;  // this frame's events are in

private:
    bool quitPending = false;   // a request has come
    bool quitSeen = false;      // and the game has been told of it
    int savesBegun = 0;         // beginSave without its endSave yet
    bool endAfterSave = false;  // a request to end at once came during a save
};
