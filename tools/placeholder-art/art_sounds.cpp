// Sounds: short 16-bit mono PCM cues at 22,050 Hz, each its own shape (chimes, clicks, card
// flicks, chip rattles), soft enough to leave on; and the lobby's music, a short standard MIDI
// loop.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr uint32_t kRate = 22050;
constexpr double kPi = 3.14159265358979;

void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string* out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A deterministic noise source (-1 .. 1).
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  double Next() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<double>((state_ >> 8) & 0xFFFF) / 32768.0 - 1.0;
  }

 private:
  uint32_t state_;
};

// Samples of `seconds`, filled by adding voices.
struct Cue {
  explicit Cue(double seconds) : samples(static_cast<size_t>(seconds * kRate), 0.0) {}
  std::vector<double> samples;

  // A decaying tone with a few harmonics, starting at `at` seconds.
  void Tone(double at, double frequency, double length, double level, double decay, double brightness = 0.3) {
    const size_t start = static_cast<size_t>(at * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    for (size_t i = 0; i < count && start + i < samples.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double attack = std::min(1.0, t / 0.004);
      const double release = std::min(1.0, (length - t) / 0.01);
      const double envelope = attack * release * std::exp(-t * decay);
      const double wave = std::sin(2 * kPi * frequency * t) + brightness * std::sin(4 * kPi * frequency * t) +
                          brightness * 0.4 * std::sin(6 * kPi * frequency * t);
      samples[start + i] += level * envelope * wave / (1 + 1.4 * brightness);
    }
  }
  // A burst of filtered noise: `smooth` near 1 is dull (a thump), near 0 bright (a flick).
  void Burst(double at, double length, double level, double decay, double smooth, uint32_t seed) {
    Noise noise(seed);
    const size_t start = static_cast<size_t>(at * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    double filtered = 0;
    for (size_t i = 0; i < count && start + i < samples.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      filtered = smooth * filtered + (1 - smooth) * noise.Next();
      const double attack = std::min(1.0, t / 0.002);
      samples[start + i] += 0.5 * level * attack * std::exp(-t * decay) * filtered * (1 + smooth * 3);
    }
  }
  // A chip striking another: two short inharmonic partials.
  void Chip(double at, double pitch, double level) {
    Tone(at, pitch, 0.06, level, 70, 0);
    Tone(at, pitch * 1.47, 0.05, level * 0.6, 90, 0);
    Burst(at, 0.01, level * 0.4, 300, 0.2, static_cast<uint32_t>(pitch));
  }
  // A plucked string (Karplus-Strong).
  void Pluck(double at, double frequency, double length, double level, uint32_t seed) {
    const size_t period = static_cast<size_t>(kRate / frequency);
    std::vector<double> line(period);
    Noise noise(seed);
    for (double& value : line) value = noise.Next();
    const size_t start = static_cast<size_t>(at * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    for (size_t i = 0; i < count && start + i < samples.size(); ++i) {
      const size_t here = i % period;
      const double next = line[(i + 1) % period];
      const double value = line[here];
      line[here] = 0.996 * 0.5 * (value + next);
      samples[start + i] += level * value;
    }
  }

  std::string Wav() const {
    std::string data;
    const size_t fade = std::min<size_t>(samples.size(), kRate / 200);
    for (size_t i = 0; i < samples.size(); ++i) {
      double value = std::tanh(samples[i] * 1.2) / std::tanh(1.2);
      if (i + fade >= samples.size()) value *= static_cast<double>(samples.size() - i) / fade;
      Put16(&data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 26000))));
    }
    std::string bytes = "RIFF";
    Put32(&bytes, 36 + static_cast<uint32_t>(data.size()));
    bytes += "WAVEfmt ";
    Put32(&bytes, 16);
    Put16(&bytes, 1);  // PCM
    Put16(&bytes, 1);  // mono
    Put32(&bytes, kRate);
    Put32(&bytes, kRate * 2);
    Put16(&bytes, 2);
    Put16(&bytes, 16);
    bytes += "data";
    Put32(&bytes, static_cast<uint32_t>(data.size()));
    return bytes + data;
  }
};

// Start-up: a low swell with a bright chord on top, the room opening.
Cue Roar() {
  Cue cue(0.9);
  Noise noise(7);
  for (size_t i = 0; i < cue.samples.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double swell = std::sin(kPi * t / 0.9);
    cue.samples[i] += swell * (0.35 * std::sin(2 * kPi * 70 * t) + 0.2 * std::sin(2 * kPi * 105 * t) + 0.08 * noise.Next());
  }
  cue.Tone(0.25, 523.25, 0.6, 0.25, 4);
  cue.Tone(0.3, 659.25, 0.55, 0.2, 4);
  cue.Tone(0.35, 783.99, 0.5, 0.2, 4);
  return cue;
}

struct SoundFile {
  const char* name;
  std::function<Cue()> make;
};

std::vector<SoundFile> SoundFiles() {
  return {
      {"roar.wav", Roar},
      {"butclick.wav", [] { Cue c(0.05); c.Tone(0, 1800, 0.05, 0.5, 120, 0.2); c.Burst(0, 0.01, 0.3, 400, 0.1, 3); return c; }},
      {"yourturn.wav", [] { Cue c(0.45); c.Tone(0, 659.25, 0.2, 0.55, 12, 0.5); c.Tone(0.13, 880, 0.32, 0.55, 9, 0.5); return c; }},
      {"pass.wav", [] { Cue c(0.3); c.Tone(0, 440, 0.14, 0.5, 16); c.Tone(0.12, 329.63, 0.18, 0.5, 14); return c; }},
      {"playcard.wav", [] { Cue c(0.09); c.Burst(0, 0.09, 0.9, 45, 0.35, 11); return c; }},
      {"check.wav", [] { Cue c(0.24); c.Burst(0, 0.08, 0.9, 40, 0.9, 5); c.Tone(0, 110, 0.08, 0.4, 40, 0); c.Burst(0.12, 0.08, 0.9, 40, 0.9, 6); c.Tone(0.12, 110, 0.08, 0.4, 40, 0); return c; }},
      {"fold.wav", [] { Cue c(0.26); c.Burst(0, 0.26, 0.7, 10, 0.6, 21); return c; }},
      {"keep.wav", [] { Cue c(0.22); c.Tone(0, 523.25, 0.22, 0.5, 14, 0.6); return c; }},
      {"pluck.wav", [] { Cue c(0.45); c.Pluck(0, 392, 0.45, 0.7, 13); return c; }},
      {"bdeal.wav", [] { Cue c(0.3); for (int i = 0; i < 3; ++i) c.Burst(i * 0.09, 0.06, 0.8, 60, 0.3, 30 + i); return c; }},
      {"4200.wav", [] { Cue c(0.05); c.Burst(0, 0.05, 0.8, 90, 0.25, 41); return c; }},
      {"4210.wav", [] { Cue c(0.32); c.Burst(0, 0.32, 0.7, 8, 0.75, 42); c.Burst(0.05, 0.2, 0.3, 14, 0.3, 43); return c; }},
      {"4220.wav", [] { Cue c(0.16); c.Burst(0, 0.06, 0.8, 70, 0.3, 44); c.Burst(0.08, 0.06, 0.8, 70, 0.3, 45); return c; }},
      {"4230.wav", [] { Cue c(0.25); c.Chip(0, 3200, 0.5); c.Chip(0.07, 3400, 0.45); c.Chip(0.12, 3100, 0.4); return c; }},
      {"4240.wav", [] { Cue c(0.22); c.Chip(0, 2400, 0.5); c.Chip(0.09, 2600, 0.45); return c; }},
      {"4250.wav", [] { Cue c(0.45); for (int i = 0; i < 6; ++i) c.Chip(i * 0.055, 2800 + (i % 3) * 300, 0.45 - i * 0.04); return c; }},
      {"4260.wav", [] { Cue c(0.42); c.Tone(0, 880, 0.14, 0.5, 3, 0.6); c.Tone(0.22, 880, 0.14, 0.5, 3, 0.6); return c; }},
  };
}

void PutVariable(std::string* out, uint32_t value) {
  uint8_t bytes[5];
  int count = 0;
  bytes[count++] = value & 0x7F;
  while ((value >>= 7) != 0) bytes[count++] = static_cast<uint8_t>((value & 0x7F) | 0x80);
  while (count > 0) out->push_back(static_cast<char>(bytes[--count]));
}

void PutBig32(std::string* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

// Eight bars of soft lounge jazz in C (electric piano chords, bass, vibraphone tune), made to
// loop: it ends on the chord that leads back to its first.
std::string LobbyMusic() {
  constexpr uint32_t kQuarter = 96;
  struct Event {
    uint32_t time;
    uint8_t status, data1, data2;
  };
  std::vector<Event> events;
  auto note = [&](uint32_t start, uint32_t length, uint8_t channel, uint8_t pitch, uint8_t velocity) {
    events.push_back({start, static_cast<uint8_t>(0x90 | channel), pitch, velocity});
    events.push_back({start + length - 4, static_cast<uint8_t>(0x80 | channel), pitch, 0});
  };
  const uint8_t chords[8][4] = {{50, 53, 57, 60}, {55, 59, 62, 65}, {48, 52, 55, 59}, {57, 61, 64, 67},
                                {50, 53, 57, 60}, {55, 59, 62, 65}, {48, 52, 55, 59}, {55, 59, 62, 65}};
  const uint8_t roots[8] = {38, 43, 36, 45, 38, 43, 36, 43};
  const uint8_t tune[8][4] = {{69, 72, 74, 72}, {71, 67, 65, 67}, {64, 67, 72, 71}, {69, 67, 64, 61},
                              {62, 65, 69, 72}, {71, 74, 71, 67}, {72, 71, 67, 64}, {62, 65, 67, 71}};
  for (uint32_t bar = 0; bar < 8; ++bar) {
    const uint32_t start = bar * 4 * kQuarter;
    for (const uint8_t pitch : chords[bar]) {
      note(start, 2 * kQuarter, 0, pitch, 58);
      note(start + 5 * kQuarter / 2, kQuarter + kQuarter / 2, 0, pitch, 48);
    }
    note(start, kQuarter * 2, 1, roots[bar], 80);
    note(start + 2 * kQuarter, kQuarter, 1, static_cast<uint8_t>(roots[bar] + 7), 70);
    note(start + 3 * kQuarter, kQuarter, 1, static_cast<uint8_t>(roots[bar] + 5), 70);
    for (uint32_t beat = 0; beat < 4; ++beat) {
      note(start + beat * kQuarter, kQuarter, 2, tune[bar][beat], beat == 0 ? 72 : 60);
    }
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.time < b.time; });

  std::string track;
  auto meta = [&](uint8_t type, const std::string& data) {
    track.push_back(0);
    track.push_back(static_cast<char>(0xFF));
    track.push_back(static_cast<char>(type));
    PutVariable(&track, static_cast<uint32_t>(data.size()));
    track += data;
  };
  meta(0x51, std::string("\x09\x27\xC0", 3));  // 600,000 us a quarter: 100 beats a minute
  const uint8_t programs[3] = {4, 32, 11};      // electric piano, acoustic bass, vibraphone
  for (uint8_t channel = 0; channel < 3; ++channel) {
    track.push_back(0);
    track.push_back(static_cast<char>(0xC0 | channel));
    track.push_back(static_cast<char>(programs[channel]));
  }
  uint32_t now = 0;
  for (const Event& event : events) {
    PutVariable(&track, event.time - now);
    now = event.time;
    track.push_back(static_cast<char>(event.status));
    track.push_back(static_cast<char>(event.data1));
    track.push_back(static_cast<char>(event.data2));
  }
  PutVariable(&track, 8 * 4 * kQuarter - now);
  track += std::string("\xFF\x2F\x00", 3);

  std::string bytes = "MThd";
  PutBig32(&bytes, 6);
  bytes += std::string("\x00\x00\x00\x01", 4);  // format 0, one track
  bytes.push_back(0);
  bytes.push_back(static_cast<char>(kQuarter));
  bytes += "MTrk";
  PutBig32(&bytes, static_cast<uint32_t>(track.size()));
  return bytes + track;
}

}  // namespace

void WriteSounds(Output& out) {
  for (const SoundFile& sound : SoundFiles()) out.Bytes(sound.name, sound.make().Wav());
  out.Bytes("lobby.mid", LobbyMusic());
}

}  // namespace art
