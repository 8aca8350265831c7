// Reading and writing audio files through libsndfile; outputs appear only once complete.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

// Throws std::runtime_error with a one-line reason on any failure, also when the file's header claims
// more channels, a higher rate or more frames than the file can hold.
class AudioReader {
public:
    explicit AudioReader(const std::string& path);
    ~AudioReader();
    AudioReader(const AudioReader&) = delete;
    AudioReader& operator=(const AudioReader&) = delete;

    int channels() const { return info.channels; }
    int sampleRate() const { return info.samplerate; }
    int format() const { return info.format; }
    std::int64_t frames() const { return info.frames; }
    // Reads up to frames interleaved frames; returns how many were read (0 at the end).
    std::int64_t read(std::vector<float>& interleaved, std::int64_t frames);

private:
    std::string path;
    SF_INFO info{};
    SNDFILE* file = nullptr;
    std::int64_t position = 0;  // frames read so far
};

// Writes into a temporary file beside the target and renames it over the target in commit(); a
// writer destroyed without commit() removes the temporary file, so no partial output remains.
class AudioWriter {
public:
    AudioWriter(const std::string& path, int format, int channels, int sampleRate);
    ~AudioWriter();
    AudioWriter(const AudioWriter&) = delete;
    AudioWriter& operator=(const AudioWriter&) = delete;

    void write(const std::vector<float>& interleaved, std::int64_t frames);
    void commit();

private:
    std::string path;
    std::string temporaryPath;
    SNDFILE* file = nullptr;
};

// Writes a whole text file the same way: complete or not at all.
void writeTextFile(const std::string& path, const std::string& contents);
