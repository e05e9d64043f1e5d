#pragma once
// Where a sound decoder reads its bytes: a buffer in memory or an open file. The decoders
// see only this small interface, so they work the same on a whole effect in memory, on
// a music file read a block at a time, and under a fuzzer.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to target.size() bytes from the current position; fewer only at the end
    // of the bytes or on a read failure (see failed).
    virtual size_t read(std::span<uint8_t> target) = 0;
    // Moves to an absolute position; false when it lies beyond the end.
    virtual bool seek(uint64_t position) = 0;
    virtual uint64_t position() const = 0;
    // Size of the whole byte sequence as it is now (a file may shrink while it is read).
    virtual uint64_t size() const = 0;
    // True once a read has failed for a reason other than the end of the bytes.
    virtual bool failed() const { return false; }
};

// Bytes in memory that outlive the source.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : bytes(bytes) {}
    size_t read(std::span<uint8_t> target) override;
    bool seek(uint64_t position) override;
    uint64_t position() const override { return offset; }
    uint64_t size() const override { return bytes.size(); }

private:
    std::span<const uint8_t> bytes;
    uint64_t offset = 0;
};

// A file opened for reading; it stays readable after the file is deleted.
class FileSource : public ByteSource {
public:
    // Null when the path cannot be opened or names a folder.
    static std::unique_ptr<FileSource> open(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    size_t read(std::span<uint8_t> target) override;
    bool seek(uint64_t position) override;
    uint64_t position() const override { return offset; }
    uint64_t size() const override;
    bool failed() const override { return readFailed; }

private:
    explicit FileSource(std::FILE* file) : file(file) {}
    std::FILE* file;
    uint64_t offset = 0;
    bool readFailed = false;
};
