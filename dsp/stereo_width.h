#pragma once
// The surround stage: the stereo width of the wet signal. Above 0.6 the
// control takes away the common (mid) part, so the image widens toward pure
// side at 1; below 0.4 it blends the channels toward mono at 0; in between
// the signal passes untouched.
#include <cstdint>

class StereoWidth {
public:
    void setSurround(float surround) {
        if (surround > 0.6f) {
            mode_ = Mode::Wider;
            k_ = ((surround - 0.5f) + (surround - 0.5f)) * 0.5f;
        } else if (surround < 0.4f) {
            mode_ = Mode::Narrower;
            k_ = (0.5f - surround) * 2.0f;
            keep_ = 1.0f - k_;
        } else {
            mode_ = Mode::Unchanged;
        }
    }

    // One sample pair, in place.
    void process(float& left, float& right) const {
        if (mode_ == Mode::Wider)
            widen(left, right);
        else if (mode_ == Mode::Narrower)
            narrow(left, right);
    }

    // A block in place; the choice is made once, outside the loop.
    void process(float* left, float* right, int64_t count) const {
        if (mode_ == Mode::Wider) {
            for (int64_t i = 0; i < count; ++i) widen(left[i], right[i]);
        } else if (mode_ == Mode::Narrower) {
            for (int64_t i = 0; i < count; ++i) narrow(left[i], right[i]);
        }
    }

private:
    enum class Mode { Unchanged, Wider, Narrower };

    void widen(float& left, float& right) const {
        const float mid = (left + right) * k_;
        left -= mid;
        right -= mid;
    }
    void narrow(float& left, float& right) const {
        const float mid = (left + right) * 0.5f * k_;
        left = left * keep_ + mid;
        right = right * keep_ + mid;
    }

    Mode mode_ = Mode::Unchanged;
    float k_ = 0.0f;     // share of the mid signal moved
    float keep_ = 1.0f;  // share of each channel kept when narrowing
};
