#include "PassTimer.h"

PassTimer::PassTimer(int passCount) : queries_(passCount, 0), wallMs_(passCount), glMs_(passCount) {
    glGenQueries(passCount, queries_.data());
}

PassTimer::~PassTimer() {
    glDeleteQueries(static_cast<GLsizei>(queries_.size()), queries_.data());
}

void PassTimer::start(int index, bool query) {
    // Work queued by earlier passes must not run inside this one's interval.
    glFinish();
    started_ = std::chrono::steady_clock::now();
    if (query) {
        glBeginQuery(GL_TIME_ELAPSED, queries_[index]);
    }
}

void PassTimer::stop(int index, bool query) {
    if (query) {
        glEndQuery(GL_TIME_ELAPSED);
        frameQueries_.push_back(index);
    }
    glFinish();
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - started_;
    frameWallMs_.emplace_back(index, elapsed.count());
}

void PassTimer::endFrame(bool keep) {
    for (int index : frameQueries_) {
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(queries_[index], GL_QUERY_RESULT, &nanoseconds);
        if (keep) {
            glMs_[index].push_back(static_cast<double>(nanoseconds) * 1e-6);
        }
    }
    if (keep) {
        for (const auto& [index, milliseconds] : frameWallMs_) {
            wallMs_[index].push_back(milliseconds);
        }
    }
    frameQueries_.clear();
    frameWallMs_.clear();
}
