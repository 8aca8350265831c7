// libsndfile wrappers for the command-line host.
#include "host/cli/audio_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "host/cli/system.h"
#include "host/cli/temporary_file.h"

namespace {

constexpr int kLowestRate = 1;
constexpr int kHighestRate = 768000;

// The most frames the file's size can hold: its bytes over a frame's size where the encoding stores
// samples whole; compressed encodings can hold many frames in a byte, but not more than the bits.
std::int64_t mostFrames(const SF_INFO& info, const std::string& path) {
    std::error_code error;
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path, error));
    if (error) {
        return 0;
    }
    int sampleBytes = 0;
    switch (info.format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_ULAW:
        case SF_FORMAT_ALAW:
            sampleBytes = 1;
            break;
        case SF_FORMAT_PCM_16:
            sampleBytes = 2;
            break;
        case SF_FORMAT_PCM_24:
            sampleBytes = 3;
            break;
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_FLOAT:
            sampleBytes = 4;
            break;
        case SF_FORMAT_DOUBLE:
            sampleBytes = 8;
            break;
        default:
            return bytes * 8 * 4096;  // a whole block of silence in a few bits
    }
    return bytes / (static_cast<std::int64_t>(sampleBytes) * info.channels);
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
    // A header is only a claim: what it says must fit the file before any buffer is sized by it.
    std::string wrong;
    if (info.channels < 1 || info.channels > 2) {
        wrong = "'" + path + "' has " + std::to_string(info.channels) +
                " channels; only mono and stereo files can be processed";
    } else if (info.samplerate < kLowestRate || info.samplerate > kHighestRate) {
        wrong = "'" + path + "' claims a sample rate of " + std::to_string(info.samplerate) + " Hz (" +
                std::to_string(kLowestRate) + " to " + std::to_string(kHighestRate) + " Hz can be read)";
    } else if (const std::int64_t most = mostFrames(info, path); info.frames < 0 || info.frames > most) {
        wrong = "'" + path + "' claims " + std::to_string(info.frames) + " frames, but its size holds at most " +
                std::to_string(most);
    }
    if (!wrong.empty()) {
        sf_close(file);
        throw std::runtime_error(wrong);
    }
}

AudioReader::~AudioReader() {
    sf_close(file);
}

std::int64_t AudioReader::read(std::vector<float>& interleaved, std::int64_t frames) {
    // Never more room than the file has frames left, whatever the caller asks for.
    frames = std::max<std::int64_t>(0, std::min(frames, info.frames - position));
    interleaved.resize(static_cast<std::size_t>(frames * info.channels));
    sf_count_t got = frames > 0 ? sf_readf_float(file, interleaved.data(), frames) : 0;
    if (got < 0 || sf_error(file) != SF_ERR_NO_ERROR) {
        throw std::runtime_error("cannot read '" + path + "': " + sf_strerror(file));
    }
    position += got;
    return got;
}

AudioWriter::AudioWriter(const std::string& filePath, int format, int channels, int sampleRate) : path(filePath) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    if (!sf_format_check(&info)) {
        throw std::runtime_error("cannot write '" + path + "': unsupported format");
    }
    // libsndfile writes into the descriptor made here, never reopening the name.
    TemporaryFile temporary = createTemporaryBeside(path);
    temporaryPath = temporary.path;
    file = sf_open_fd(temporary.descriptor, SFM_WRITE, &info, SF_TRUE);
    if (file == nullptr) {
        std::remove(temporaryPath.c_str());
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
    TemporaryFile temporary = createTemporaryBeside(path);
    std::FILE* out = streamFor(temporary.descriptor);
    bool written = out != nullptr && std::fwrite(contents.data(), 1, contents.size(), out) == contents.size();
    // A full disk may only show when the last buffered bytes go out.
    written = out != nullptr && std::fclose(out) == 0 && written;
    if (!written) {
        std::remove(temporary.path.c_str());
        throw std::runtime_error("cannot write '" + path + "'");
    }
    replace(temporary.path, path);
}
