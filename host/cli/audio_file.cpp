// libsndfile wrappers for the command-line host.
#include "host/cli/audio_file.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "host/cli/system.h"

namespace {

std::string temporaryBeside(const std::string& path) {
    return path + ".partial-" + processTag();
}

void replace(const std::string& temporaryPath, const std::string& path) {
    if (!replaceFile(temporaryPath, path)) {
        std::remove(temporaryPath.c_str());
        throw std::runtime_error("cannot write '" + path + "'");
    }
}

}  // namespace

AudioReader::AudioReader(const std::string& filePath) : path(filePath) {
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        throw std::runtime_error("cannot read '" + path + "': " + sf_strerror(nullptr));
    }
    if (info.channels < 1 || info.channels > 2) {
        sf_close(file);
        throw std::runtime_error("'" + path + "' has " + std::to_string(info.channels) +
                                 " channels; only mono and stereo files can be processed");
    }
}

AudioReader::~AudioReader() {
    sf_close(file);
}

std::int64_t AudioReader::read(std::vector<float>& interleaved, std::int64_t frames) {
    interleaved.resize(static_cast<std::size_t>(frames * info.channels));
    sf_count_t got = sf_readf_float(file, interleaved.data(), frames);
    if (got < 0 || sf_error(file) != SF_ERR_NO_ERROR) {
        throw std::runtime_error("cannot read '" + path + "': " + sf_strerror(file));
    }
    return got;
}

AudioWriter::AudioWriter(const std::string& filePath, int format, int channels, int sampleRate)
    : path(filePath), temporaryPath(temporaryBeside(filePath)) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    if (!sf_format_check(&info)) {
        throw std::runtime_error("cannot write '" + path + "': unsupported format");
    }
    file = sf_open(temporaryPath.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        throw std::runtime_error("cannot write '" + path + "': " + sf_strerror(nullptr));
    }
    // A filter's overshoot can take full-scale input past full scale; integer formats must clip
    // such samples rather than wrap them around.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter() {
    if (file != nullptr) {
        sf_close(file);
        std::remove(temporaryPath.c_str());
    }
}

void AudioWriter::write(const std::vector<float>& interleaved, std::int64_t frames) {
    if (sf_writef_float(file, interleaved.data(), frames) != frames) {
        throw std::runtime_error("cannot write '" + path + "': " + sf_strerror(file));
    }
}

void AudioWriter::commit() {
    int status = sf_close(file);
    file = nullptr;
    if (status != 0) {
        std::remove(temporaryPath.c_str());
        throw std::runtime_error("cannot write '" + path + "': " + sf_error_number(status));
    }
    replace(temporaryPath, path);
}

void writeTextFile(const std::string& path, const std::string& contents) {
    std::string temporaryPath = temporaryBeside(path);
    {
        std::ofstream out(temporaryPath, std::ios::binary);
        out << contents;
        out.close();
        if (!out) {
            std::remove(temporaryPath.c_str());
            throw std::runtime_error("cannot write '" + path + "'");
        }
    }
    replace(temporaryPath, path);
}
