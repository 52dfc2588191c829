// Tagged audio files for the tests: FLAC and M4A built from bytes, Ogg Vorbis and Opus made by
// the encoders of Debian's vorbis-tools and opus-tools from a short silent WAV.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace velmora::tagnames::test {

using Comments = std::vector<std::string>; // "KEY=value"

inline std::string Be(std::uint64_t v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
inline std::string Le32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

// "fLaC", STREAMINFO (44.1 kHz, stereo, 16 bits, no samples) and a Vorbis comment block.
inline std::string Flac(const Comments& comments) {
    std::string info =
        Be(4096, 2) + Be(4096, 2) + Be(0, 3) + Be(0, 3) +
        Be((std::uint64_t{44100} << 44) | (std::uint64_t{1} << 41) | (std::uint64_t{15} << 36), 8) +
        std::string(16, '\0');
    std::string vc = Le32(7) + "velmora" + Le32(static_cast<std::uint32_t>(comments.size()));
    for (const std::string& c : comments)
        vc += Le32(static_cast<std::uint32_t>(c.size())) + c;
    return "fLaC" + Be(0, 1) + Be(info.size(), 3) + info + Be(0x84, 1) + Be(vc.size(), 3) + vc;
}

inline std::string Atom(const std::string& type, const std::string& payload) {
    return Be(payload.size() + 8, 4) + type + payload;
}
inline std::string TextItem(const std::string& type, const std::string& utf8) {
    return Atom(type, Atom("data", Be(1, 4) + Be(0, 4) + utf8));
}
inline std::string NumberPairItem(const std::string& type, int n, int total) {
    return Atom(type,
                Atom("data", Be(0, 4) + Be(0, 4) + Be(0, 2) + Be(static_cast<std::uint64_t>(n), 2) +
                                 Be(static_cast<std::uint64_t>(total), 2) + Be(0, 2)));
}

// An M4A file holding only its tag: ftyp, and moov with a movie header and udta/meta/ilst.
inline std::string M4a(const std::string& items) {
    const std::string mvhd = Atom("mvhd", std::string(100, '\0'));
    const std::string hdlr = Atom("hdlr", Be(0, 4) + Be(0, 4) + "mdirappl" + std::string(9, '\0'));
    const std::string meta = Atom("meta", Be(0, 4) + hdlr + Atom("ilst", items));
    return Atom("ftyp", "M4A " + Be(0, 4) + "M4A isom") + Atom("moov", mvhd + Atom("udta", meta));
}

// A tenth of a second of silence, 16-bit stereo at 48 kHz.
inline void WriteSilentWav(const std::string& path) {
    const std::uint32_t data = 4800 * 4;
    std::string wav = "RIFF" + Le32(36 + data) + "WAVEfmt " + Le32(16) +
                      std::string("\x01\x00\x02\x00", 4) + Le32(48000) + Le32(48000 * 4) +
                      std::string("\x04\x00\x10\x00", 4) + "data" + Le32(data) +
                      std::string(data, '\0');
    std::ofstream(path, std::ios::binary) << wav;
}

inline std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Encodes a silent WAV with encoder ("oggenc" or "opusenc") into out with the comments; false
// when the encoder is not installed or fails.
inline bool Encode(const std::string& encoder, const std::string& out, const Comments& comments) {
    const std::string wav = out + ".wav";
    WriteSilentWav(wav);
    std::string cmd = encoder + (encoder == "oggenc" ? " -Q" : " --quiet");
    for (const std::string& c : comments)
        cmd += (encoder == "oggenc" ? " -c " : " --comment ") + Quoted(c);
    cmd += encoder == "oggenc" ? " -o " + Quoted(out) + " " + Quoted(wav)
                               : " " + Quoted(wav) + " " + Quoted(out);
    cmd += " >/dev/null 2>&1";
    const bool ok = std::system(cmd.c_str()) == 0;
    std::remove(wav.c_str());
    return ok;
}

} // namespace velmora::tagnames::test
