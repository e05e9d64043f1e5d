#include "media/media_layer.h"

#include <cstdio>
#include <utility>

#include "media/files/writes_under_way.h"
#include "media/media_parts.h"

MediaLayer::MediaLayer(MusicDecoding musicDecoding)
    : parts(std::make_unique<MediaParts>(musicDecoding)),
      files(parts->files),
      mixer(parts->mixer),
      decoder(parts->decoder) {
    files.onFatal = [this](const std::string& message) { fatalError(message); };
}

MediaLayer::~MediaLayer() = default;

void MediaLayer::resetDrawState() {
    draw = DrawState{};
    updateDrawMatrix(draw);
}

void MediaLayer::setDrawColour(int r, int g, int b) { draw.colour = Colour{r, g, b}; }

void MediaLayer::setDrawRotation(float degrees) {
    draw.rotation = degrees;
    updateDrawMatrix(draw);
}

void MediaLayer::setDrawScale(float scaleX, float scaleY) {
    draw.scaleX = scaleX;
    draw.scaleY = scaleY;
    updateDrawMatrix(draw);
}

void MediaLayer::centreImageHandle(Image& image) {
    image.handleX = image.width * 0.5f;
    image.handleY = image.height * 0.5f;
}

void MediaLayer::presentFrame() {
    showFrame();
    eventsTaken = false;
}

void MediaLayer::takeEvents() {
    if (eventsTaken) return;
    pumpEvents();
    eventsTaken = true;
}

int MediaLayer::mouseX() {
    takeEvents();
    return input.pointerX;
}

int MediaLayer::mouseY() {
    takeEvents();
    return input.pointerY;
}

int MediaLayer::mouseHits(MouseButton button) {
    takeEvents();
    return std::exchange(input.hits(button), 0);
}

bool MediaLayer::mouseDown(MouseButton button) {
    takeEvents();
    return input.down(button);
}

int MediaLayer::keyHits(Key key) {
    takeEvents();
    return std::exchange(input.hits(key), 0);
}

bool MediaLayer::keyDown(Key key) {
    takeEvents();
    return input.down(key);
}

void MediaLayer::flushKeys() {
    takeEvents();
    input.flushKeys();
}

bool MediaLayer::quitRequested() {
    takeEvents();
    if (quitPending && !quitSeen) {
        quitSeen = true;
        quitBeingHandled();
    }
    return quitPending;
}

void MediaLayer::noteQuitRequest() {
    if (quitSeen && savesBegun > 0) endAfterSave = true;
    if (quitSeen && savesBegun == 0) {
        waitForWrites();  // a level's save still on its way lands first
        endAtOnce();
    }
    quitPending = true;
}

void MediaLayer::beginSave() {
    ++savesBegun;
    beginWriteUnderWay();
}

void MediaLayer::endSave() {
    --savesBegun;
    endWriteUnderWay();
    if (savesBegun == 0 && endAfterSave) {
        waitForWrites();
        endAtOnce();
    }
}

void MediaLayer::warning(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

// ---- Files and sound: handed to the parts ----------------------------------------

Stream MediaLayer::openForRead(const std::string& path) { return files.openForRead(path); }
Stream MediaLayer::openForWrite(const std::string& path) { return files.openForWrite(path); }
bool MediaLayer::closeStream(Stream stream) { return files.close(stream); }
int32_t MediaLayer::readI32(Stream stream) { return files.readI32(stream); }
bool MediaLayer::readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes) {
    return files.readWhole(path, bytes, maxBytes);
}
bool MediaLayer::readWholeFileIf(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes,
                                 size_t headBytes, const HeadCheck& acceptHead, std::string* failure) {
    return files.readWhole(path, bytes, maxBytes, headBytes, acceptHead, failure);
}
FileRead MediaLayer::readFileStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
    return files.readStart(path, maxBytes, bytes);
}
bool MediaLayer::replaceFile(const std::string& path, std::span<const uint8_t> bytes) {
    return files.replace(path, bytes);
}
void MediaLayer::replaceFileSoon(const std::string& path, std::vector<uint8_t> bytes) {
    files.replaceSoon(path, std::move(bytes));
}
void MediaLayer::waitForWrites() { files.waitForWrites(); }
std::vector<WriteOutcome> MediaLayer::finishedWrites() { return files.finishedWrites(); }
void MediaLayer::removeUnfinishedWrite(const std::string& path) { files.removeUnfinishedWrite(path); }
bool MediaLayer::createFolder(const std::string& path) { return files.createFolder(path); }
LockResult MediaLayer::lockFile(const std::string& path) { return files.lockFile(path); }
void MediaLayer::unlockFile() { files.unlockFile(); }
const std::string& MediaLayer::fileError() const { return files.lastError(); }
bool MediaLayer::fileMissing() const { return files.lastErrorMissing(); }
WriteCalls& MediaLayer::fileWriteCalls() { return files.writeCalls; }
bool MediaLayer::isRegularFile(const std::string& path) { return FileTable::isRegularFile(path); }
std::string MediaLayer::nextDirectoryEntry(DirectoryListing listing) { return files.nextEntry(listing); }
Channel MediaLayer::playSound(const SoundPtr& sound, SoundGroup group) { return mixer.play(sound, false, group); }
Channel MediaLayer::cueSound(const SoundPtr& sound, SoundGroup group) { return mixer.play(sound, true, group); }
void MediaLayer::setSoundGroupVolume(SoundGroup group, float gain) { mixer.setGroupGain(group, gain); }
void MediaLayer::setChannelVolume(Channel channel, float volume) { mixer.setVolume(channel, volume); }
Mixer& MediaLayer::soundMixer() { return mixer; }
int MediaLayer::readU8(Stream stream) { return files.readU8(stream); }
void MediaLayer::writeI32(Stream stream, int32_t value) { files.writeI32(stream, value); }
DirectoryListing MediaLayer::openDirectory(const std::string& path) { return files.openDirectory(path); }
void MediaLayer::closeDirectory(DirectoryListing listing) { files.closeDirectory(listing); }
void MediaLayer::stopChannel(Channel channel) { mixer.stop(channel); }
void MediaLayer::resumeChannel(Channel channel) { mixer.resume(channel); }
MusicDecoder& MediaLayer::musicDecoder() { return decoder; }
