// The studio: the show in a window for the people who work on it. It draws
// with the show's own frame code into the offscreen 1920 x 1080 framebuffer,
// letterboxed into a resizable window, and adds a transport (seek, pause,
// speed, loop, single frames), an overlay and live reload of programs,
// pictures and fonts. Run from the run directory:
//   studio [--at SECONDS] [--loop FROM:TO] [--source DIR] [--script FILE] [--log FILE]
// --source names the folder with the demo6/ and fonts/ sources to watch (the
// repository by default); --script drives it by a script of keys
// (key_script.h); --log writes one line per event with its frame number and
// time, for timing seeks and reloads.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "actions.h"
#include "key_script.h"
#include "live_reload.h"
#include "offscreen_show.h"
#include "overlay.h"
#include "runtime/sdl_sound_engine.h"
#include "timeline/chain.h"
#include "timeline/show_host.h"
#include "transport.h"

namespace {

constexpr double kFrameStep = 1.0 / 60.0;

struct Options {
    double at = 0.0;
    std::optional<Stretch> loop;
    std::string source = SHOW_SOURCE_DIR;
    std::string script;
    std::string log;
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return std::nullopt;
        const std::string value = argv[++i];
        char* end = nullptr;
        if (arg == "--at") {
            options.at = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || *end != '\0' || !std::isfinite(options.at)) return std::nullopt;
        } else if (arg == "--loop") {
            const double from = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || *end != ':') return std::nullopt;
            const char* rest = end + 1;
            const double to = std::strtod(rest, &end);
            if (end == rest || *end != '\0' || !(from < to)) return std::nullopt;
            options.loop = Stretch{from, to};
            options.at = from;
        } else if (arg == "--source") {
            options.source = value;
        } else if (arg == "--script") {
            options.script = value;
        } else if (arg == "--log") {
            options.log = value;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// Passes the cues' calls on only while the sound follows the picture
// (playing at 1x); otherwise the engine stays silent.
class GatedSound : public SoundEngine {
public:
    explicit GatedSound(SoundEngine& engine) : engine_(engine) {}
    void play(const char* path, bool looped) override {
        if (open) engine_.play(path, looped);
    }
    void playFrom(const char* path, bool looped, double offset) override {
        if (open) engine_.playFrom(path, looped, offset);
    }
    void stopAll() override { engine_.stopAll(); }
    bool open = false;

private:
    SoundEngine& engine_;
};

double realTime() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string seconds(double t) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", t);
    return text;
}

std::string times(double speed) {
    char text[32];
    std::snprintf(text, sizeof text, "%gx", speed);
    return text;
}

std::string runningLinks(float t) {
    std::string names;
    for (const ChainLink& link : kTimelineChain)
        if (link.window.contains(t)) names += (names.empty() ? "" : ", ") + std::string(link.name);
    return names.empty() ? "(nothing)" : names;
}

class Studio {
public:
    Studio(const Options& options, OffscreenShow& show)
        : show_(show),
          window_(show.window()),
          transport_(glfwGetTime),
          sound_(showSoundEngine),
          host_(show.resources(), sound_, transport_),
          reload_(options.source, SHOW_GENERATED_GLSL_DIR, show.mutableResources()),
          overlay_("fonts/c64.ttf") {
        if (!options.log.empty()) log_.open(options.log);
        transport_.setLoop(options.loop);
        transport_.seek(options.at);
        glfwSetWindowUserPointer(window_, this);
        glfwSetKeyCallback(window_, [](GLFWwindow* window, int key, int, int action, int mods) {
            if (action == GLFW_RELEASE) return;
            if (const auto wanted = actionOfKey(key, mods))
                static_cast<Studio*>(glfwGetWindowUserPointer(window))->pending_.push_back(*wanted);
        });
    }

    // Plays until Escape, a closed window or the script's end; returns the exit status.
    int run(const std::vector<ScriptStep>& script) {
        script_ = script;
        while (!glfwWindowShouldClose(window_)) {
            const auto start = std::chrono::steady_clock::now();
            glfwPollEvents();
            if (!runScript()) return 1;
            while (!pending_.empty()) {
                apply(pending_.front());
                pending_.pop_front();
            }
            if (quit_) break;
            transport_.advance();
            followSound();
            if (reload_.poll()) {
                note("reload " + oneLine(reload_.result()));
                reloadShownAt_ = reload_.savedAt();
            }
            const double t = transport_.now();
            if (t != lastT_) note("show t=" + seconds(t));
            lastT_ = t;
            host_.drawFrame();
            present();
            if (reloadShownAt_ > 0.0) {
                note("reload on screen " + std::to_string(int((realTime() - reloadShownAt_) * 1000.0)) +
                     " ms after the save");
                reloadShownAt_ = 0.0;
            }
            ++frame_;
            frameMs_.push_back(float(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()));
            if (frameMs_.size() > 600) frameMs_.erase(frameMs_.begin(), frameMs_.begin() + 300);
        }
        return 0;
    }

private:
    static std::string oneLine(std::string text) {
        for (char& c : text)
            if (c == '\n') c = '|';
        return text;
    }

    void note(const std::string& event) {
        if (log_) log_ << "frame " << frame_ << " " << event << std::endl;
    }

    void seek(double t) {
        transport_.seek(t);
        note("seek " + seconds(transport_.now()));
    }

    void apply(Action action) {
        const double t = transport_.now();
        switch (action) {
        case Action::togglePause: transport_.setPaused(!transport_.paused()); break;
        case Action::back1: seek(t - 1.0); break;
        case Action::forward1: seek(t + 1.0); break;
        case Action::back10: seek(t - 10.0); break;
        case Action::forward10: seek(t + 10.0); break;
        case Action::previousBoundary: seek(previousBoundary(t)); break;
        case Action::nextBoundary: seek(nextBoundary(t)); break;
        case Action::home: seek(0.0); break;
        case Action::slower: transport_.stepSpeed(-1); break;
        case Action::faster: transport_.stepSpeed(1); break;
        case Action::toggleLoop:
            transport_.setLoop(transport_.loop() ? std::nullopt : std::optional<Stretch>(stretchAround(t)));
            break;
        case Action::stepFrame:
            if (transport_.paused()) seek(t + kFrameStep);
            break;
        case Action::screenshot: writePng("studio-" + seconds(t) + ".png"); break;
        case Action::toggleOverlay: overlayShown_ = !overlayShown_; break;
        case Action::toggleFullscreen: toggleFullscreen(); break;
        case Action::quit: quit_ = true; break;
        }
        note(std::string("key ") + nameOf(action));
    }

    // The sound follows the picture only while it plays at 1x: after any
    // jump it starts where the cues would have it; otherwise it is silent.
    void followSound() {
        const bool follow = !transport_.paused() && transport_.speed() == 1.0;
        if (transport_.timingChanges() == timingChanges_ && follow == sound_.open) return;
        timingChanges_ = transport_.timingChanges();
        sound_.open = follow;
        if (follow) host_.seekMusic(transport_.now());
        else sound_.stopAll();
    }

    void writePng(const std::string& path) {
        show_.readBack();
        const bool ok = show_.writePng(path);
        std::cout << (ok ? "wrote " : "could not write ") << path << std::endl;
        status_ = (ok ? "wrote " : "could not write ") + path;
    }

    void toggleFullscreen() {
        if (glfwGetWindowMonitor(window_) != nullptr) {
            glfwSetWindowMonitor(window_, nullptr, windowed_[0], windowed_[1], windowed_[2], windowed_[3], 0);
            return;
        }
        GLFWmonitor* monitor = glfwGetPrimaryMonitor();
        const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
        if (mode == nullptr) return;
        glfwGetWindowPos(window_, &windowed_[0], &windowed_[1]);
        glfwGetWindowSize(window_, &windowed_[2], &windowed_[3]);
        glfwSetWindowMonitor(window_, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    }

    // The frame letterboxed into the window, the overlay over it.
    void present() {
        int width = 0, height = 0;
        glfwGetFramebufferSize(window_, &width, &height);
        const GlExtras& gl = glExtras();
        const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        gl.glClearNamedFramebufferfv(0, GL_COLOR, 0, black);
        const double scale = std::min(double(width) / OffscreenShow::kWidth, double(height) / OffscreenShow::kHeight);
        const int w = int(OffscreenShow::kWidth * scale), h = int(OffscreenShow::kHeight * scale);
        const int x = (width - w) / 2, y = (height - h) / 2;
        gl.glBlitNamedFramebuffer(show_.framebuffer(), 0, 0, 0, OffscreenShow::kWidth, OffscreenShow::kHeight, x, y,
                                x + w, y + h, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        if (overlayShown_) {
            overlay_.compose(overlayLines(), frameMs_, width - 16);
            overlay_.present(height);
        }
        glfwSwapBuffers(window_);
    }

    std::vector<OverlayLine> overlayLines() {
        const double t = transport_.now();
        std::string state = "t " + seconds(t) + " s   " + (transport_.paused() ? "paused" : "playing") + "   speed " +
                            times(transport_.speed());
        if (const auto& loop = transport_.loop()) state += "   loop " + seconds(loop->from) + " - " + seconds(loop->to);
        if (!transport_.paused() && transport_.speed() != 1.0) state += "   (muted)";
        std::vector<OverlayLine> lines = {{state}, {"running: " + runningLinks(float(t))}};
        if (!frameMs_.empty()) lines.push_back({"frame " + seconds(frameMs_.back()) + " ms"});
        const std::string& result = reload_.result();
        const bool failed = result.find("stays") != std::string::npos || result.find("off") != std::string::npos;
        std::size_t at = 0;
        for (bool first = true; at <= result.size(); first = false) {
            std::size_t end = result.find('\n', at);
            if (end == std::string::npos) end = result.size();
            lines.push_back({(first ? "reload: " : "  ") + result.substr(at, end - at), failed});
            at = end + 1;
        }
        if (!status_.empty()) lines.push_back({status_});
        return lines;
    }

    // Runs the script's commands until one has to wait; false when it fails.
    bool runScript() {
        while (next_ < script_.size()) {
            const ScriptStep& step = script_[next_];
            switch (step.kind) {
            case ScriptStep::Kind::key: pending_.push_back(*step.action); break;
            case ScriptStep::Kind::frames:
                if (waitUntilFrame_ < 0) waitUntilFrame_ = frame_ + step.count;
                if (frame_ < waitUntilFrame_) return true;
                waitUntilFrame_ = -1;
                break;
            case ScriptStep::Kind::replace:
                resultsAtReplace_ = reload_.results();
                if (!replaceFile(step.path, step.to)) {
                    std::cerr << "studio script: cannot replace " << step.to << " with " << step.path << std::endl;
                    return false;
                }
                note("replace " + step.to);
                break;
            case ScriptStep::Kind::awaitReload:
                if (awaitSince_ < 0.0) awaitSince_ = realTime();
                if (reload_.results() == resultsAtReplace_) {
                    if (realTime() - awaitSince_ < 60.0) return true;
                    std::cerr << "studio script: no reload within 60 s" << std::endl;
                    return false;
                }
                awaitSince_ = -1.0;
                break;
            case ScriptStep::Kind::png: writePng(step.path); break;
            case ScriptStep::Kind::quit: pending_.push_back(Action::quit); break;
            }
            ++next_;
        }
        return true;
    }

    OffscreenShow& show_;
    GLFWwindow* window_;
    Transport transport_;
    GatedSound sound_;
    ShowHost host_;
    LiveReload reload_;
    Overlay overlay_;
    std::ofstream log_;
    std::deque<Action> pending_;
    std::vector<float> frameMs_;
    std::string status_;
    bool overlayShown_ = true;
    bool quit_ = false;
    unsigned timingChanges_ = ~0u;
    double lastT_ = -1.0;
    double reloadShownAt_ = 0.0;
    long frame_ = 0;
    int windowed_[4] = {0, 0, 1280, 720};
    std::vector<ScriptStep> script_;
    std::size_t next_ = 0;
    long waitUntilFrame_ = -1;
    unsigned resultsAtReplace_ = 0;
    double awaitSince_ = -1.0;
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: studio [--at SECONDS] [--loop FROM:TO] [--source DIR] [--script FILE] [--log FILE]\n";
        return 2;
    }
    std::vector<ScriptStep> script;
    if (!options->script.empty()) {
        std::string error;
        const auto read = readKeyScript(options->script, error);
        if (!read) {
            std::cerr << "studio: " << error << "\n";
            return 2;
        }
        script = *read;
    }
    const bool privateDisplay = std::getenv("DISPLAY") == nullptr;
    if (privateDisplay) std::cerr << "studio: no display: drawing on a private Xvfb\n";
    OffscreenShow& show = OffscreenShow::instance(privateDisplay, OffscreenShow::Window::shown);
    std::cout << show.startupOutput();
    Studio studio(*options, show);
    const int status = studio.run(script);
    showSoundEngine.close();
    return status;
}
