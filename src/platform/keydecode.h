// Turns the bytes a terminal sends into console events: UTF-8 characters (as CP737), xterm and
// Linux console key sequences (as DOS scan codes), SGR mouse reports and bracketed paste.
#pragma once
#include <cstddef>
#include <deque>
#include <string>

#include "platform/console.h"

namespace PLAT {

class KeyDecoder {
public:
    // How long the terminal backend waits after a lone Esc before taking it as the Esc key.
    static constexpr int ESC_TIMEOUT_MS = 30;

    // Bytes as read; a sequence may be split across calls.
    void feed(const char* data, size_t n);
    void feed(const std::string& s) { feed(s.data(), s.size()); }
    // No byte came for ESC_TIMEOUT_MS: a lone Esc is the Esc key, an unfinished sequence is dropped.
    void timeout();
    // True while the bytes fed so far end inside a key sequence (timeout() decides it).
    bool waiting() const;
    // Takes the next decoded event.
    bool next(Event& ev);

private:
    enum class State { GROUND, ESC, CSI, CSI_LINUX, SS3, UTF8, PASTE };
    void byte(unsigned char b);
    void emit(const Event& ev) { out.push_back(ev); }
    void csi(char final);
    void ss3(char final);
    void finishUtf8();
    bool dropUtf8();  // an unfinished UTF-8 sequence ends; true when it was the 8-bit Alt-C

    State state = State::GROUND;
    std::string seq;       // parameters of a CSI / SS3 sequence, bytes of a UTF-8 character
    bool overflow = false; // the sequence grew too long: swallowed when it ends
    size_t utf8Need = 0;
    bool alt = false;      // the UTF-8 character came after Esc
    std::string paste;
    std::deque<Event> out;
};

}  // namespace PLAT
