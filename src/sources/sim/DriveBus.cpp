#include "sources/sim/DriveBus.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vcm::sim {

namespace {

struct Schedule {
    std::uint16_t id;
    double periodMs;
};

// Decoded identifiers first, then identifiers of a real bus the dashboard ignores.
constexpr Schedule kSchedule[] = {
    {0x030, 6},    {0x038, 8},    {0x039, 8},    {0x03A, 8},    {0x03B, 8},   {0x025, 13},
    {0x0B4, 14},   {0x244, 25},   {0x348, 44},   {0x3C8, 70},   {0x3CA, 108}, {0x3CB, 108},
    {0x3CF, 139},  {0x5EC, 526},  {0x526, 530},  {0x529, 1000}, {0x540, 1049}, {0x52C, 1050},
    {0x520, 2231}, {0x5A4, 3400},
    {0x020, 12},   {0x022, 8},    {0x023, 8},    {0x0AA, 8},    {0x0B1, 14},  {0x120, 32},
    {0x230, 44},   {0x262, 100},  {0x3C9, 108},  {0x423, 1000}, {0x57F, 1000}, {0x5B6, 1100},
};

constexpr double kTankCapacityLitres = 45;

std::uint8_t byteOf(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// Two bytes holding a 12-bit two's complement value (high nibble first).
void putS12(CanFrame& f, std::size_t at, long value)
{
    auto x = static_cast<unsigned>(std::clamp(value, -2048L, 2047L)) & 0xFFFu;
    f.data[at] = static_cast<std::uint8_t>(x >> 8);
    f.data[at + 1] = static_cast<std::uint8_t>(x & 0xFF);
}

void putU16(CanFrame& f, std::size_t at, double value)
{
    auto x = static_cast<unsigned>(std::clamp(std::lround(value), 0L, 65535L));
    f.data[at] = static_cast<std::uint8_t>(x >> 8);
    f.data[at + 1] = static_cast<std::uint8_t>(x & 0xFF);
}

std::uint8_t signedByte(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), -128L, 127L) & 0xFF); }

std::uint8_t gearByte(Gear g)
{
    switch (g) {
    case Gear::P: return 0x80;
    case Gear::R: return 0x40;
    case Gear::N: return 0x20;
    case Gear::D: return 0x10;
    case Gear::B: return 0x00;
    }
    return 0x80;
}

} // namespace

double frameDurationMs(int dataBytes)
{
    double bits = 47 + 8.0 * dataBytes;
    bits += std::floor((34 + 8.0 * dataBytes) / 10); // stuff bits, typical
    return bits / 500.0;                              // 500 bits per millisecond
}

DriveBus::DriveBus(std::uint64_t seed) : model_(seed)
{
    for (const auto& s : kSchedule) {
        // Spread the first sends over the period so the identifiers do not all start together.
        double offset = std::fmod(s.id * 7.919, s.periodMs);
        slots_.push_back({s.id, s.periodMs, offset});
    }
}

DriveBus::Slot* DriveBus::slotFor(std::uint16_t id)
{
    for (auto& s : slots_)
        if (s.id == id) return &s;
    return nullptr;
}

DriveBus::Slot* DriveBus::earliest()
{
    Slot* next = &slots_.front();
    for (auto& s : slots_)
        if (s.nextDueMs < next->nextDueMs || (s.nextDueMs == next->nextDueMs && s.id < next->id)) next = &s;
    return next;
}

void DriveBus::sendNowIfChanged(std::uint16_t id, bool changed, double ms)
{
    if (!changed) return;
    Slot* slot = slotFor(id);
    slot->nextDueMs = std::min(slot->nextDueMs, ms);
}

void DriveBus::framesUntil(double untilMs, std::vector<CanFrame>& out)
{
    for (;;) {
        const double start = std::max(earliest()->nextDueMs, busFreeAtMs_);
        model_.advanceTo(start);
        const auto& st = model_.state();

        // Values that are also sent when they change.
        const bool firing = st.injector > 0;
        sendNowIfChanged(0x529, st.evMode != lastEvMode_, start);
        sendNowIfChanged(0x520, firing != lastEngineFiring_, start);
        lastEvMode_ = st.evMode;
        lastEngineFiring_ = firing;

        Slot* next = earliest();
        CanFrame frame = encode(next->id, st, next->count);
        const double end = std::max(next->nextDueMs, busFreeAtMs_) + frameDurationMs(frame.length);
        if (end > untilMs) return; // finishes later: it goes out on a later call
        frame.timeMs = end;
        busFreeAtMs_ = end;
        ++next->count;
        next->nextDueMs = std::max(next->nextDueMs + next->periodMs, end); // a change-driven send restarts the period
        out.push_back(frame);
    }
}

CanFrame DriveBus::encode(std::uint16_t id, const DriveSnapshot& s, std::uint32_t counter)
{
    CanFrame f;
    f.id = id;
    f.length = 8;
    const auto rolling = static_cast<std::uint8_t>(counter & 0xFF);
    switch (id) {
    case 0x025: { // steering: angle and the sensor's zero, both 12-bit signed, tenths of a degree
        const long zero = 18;
        putS12(f, 0, std::lround(s.steeringDeg * 10) + zero);
        putS12(f, 2, zero);
        f.data[4] = 0x78;
        f.data[7] = rolling;
        break;
    }
    case 0x030: // brake pedal
        f.length = 7;
        f.data[4] = byteOf(s.brakePedal * 127);
        break;
    case 0x038: // fuel flow, tenths of a litre per hour
        f.data[1] = byteOf(s.fuelRateLh * 10);
        break;
    case 0x039: // engine temperature (signed) and torque / 2
        f.length = 4;
        f.data[0] = signedByte(s.coolantC);
        f.data[2] = byteOf(s.engineTorqueNm / 2);
        break;
    case 0x03A: { // MG1: signed with the sign in byte 1
        double mg1 = std::clamp((s.engineRpm * 1.3 - s.speedKmh * 30) / 40, -256.0, 255.0);
        long v = std::lround(mg1);
        f.data[0] = v < 0 ? 0xFF : 0x00;
        f.data[1] = static_cast<std::uint8_t>(v & 0xFF);
        break;
    }
    case 0x03B: // battery current (12-bit signed, discharge positive) and voltage
        f.length = 5;
        putS12(f, 0, -std::lround(s.batteryCurrentA * 10));
        putU16(f, 2, s.batteryVoltage);
        f.data[4] = static_cast<std::uint8_t>((f.data[0] + f.data[1] + f.data[2] + f.data[3] + 0x3B) & 0xFF);
        break;
    case 0x0B4: // speed, hundredths of km/h
        putU16(f, 5, s.speedKmh * 100);
        f.data[4] = rolling;
        break;
    case 0x244: // accelerator, 0..200
        f.data[6] = byteOf(s.accelPedal * 200);
        break;
    case 0x348: // engine speed x 10 / 10
        f.length = 6;
        putU16(f, 2, s.engineRpm);
        break;
    case 0x3C8: // engine speed / 32
        f.length = 5;
        f.data[2] = byteOf(s.engineRpm / 32);
        break;
    case 0x3CA: // the frame the dashboard integrates fuel and distance on
        f.length = 5;
        f.data[2] = byteOf(s.speedKmh);
        break;
    case 0x3CB: // battery limits, state of charge (half percent), temperature
        f.length = 7;
        f.data[0] = byteOf(s.maxChargeKw);
        f.data[1] = byteOf(s.maxDischargeKw);
        putU16(f, 2, s.stateOfChargePct * 2);
        f.data[4] = 0x1C;
        f.data[5] = signedByte(s.batteryTempC);
        break;
    case 0x3CF: // outside and motor-generator temperatures
        f.length = 4;
        f.data[1] = signedByte(s.outsideTempC);
        f.data[2] = signedByte(s.mg1TempC);
        break;
    case 0x520: // injector quantity
        f.length = 3;
        putU16(f, 1, s.injector);
        break;
    case 0x526: // valve timing: (angle + 16) x 2
        f.length = 5;
        f.data[1] = byteOf(s.engineRpm > 0 ? (s.vvtDeg + 16) * 2 : 0);
        break;
    case 0x529: // EV mode flag
        f.length = 7;
        f.data[4] = s.evMode ? 0x40 : 0x00;
        break;
    case 0x52C: // coolant, half degrees
        f.length = 2;
        f.data[1] = byteOf(s.coolantC * 2);
        break;
    case 0x540: // gear lever
        f.length = 4;
        f.data[1] = gearByte(s.gear);
        break;
    case 0x5A4: // tank level, units of 2.5 %
        f.length = 2;
        f.data[1] = byteOf(s.fuelTankLitres / kTankCapacityLitres * 100 / 2.5);
        break;
    case 0x5EC: // second motor-generator temperature
        f.data[5] = byteOf(s.mg2TempC);
        break;
    default: // identifiers the dashboard ignores: a rolling counter and some state
        f.data[0] = rolling;
        f.data[1] = static_cast<std::uint8_t>(id & 0xFF);
        f.data[2] = byteOf(s.speedKmh);
        f.data[3] = byteOf(s.engineRpm / 32);
        break;
    }
    return f;
}

} // namespace vcm::sim
