#include "device/ReportSender.h"

#include <utility>

namespace xk {

ReportSender::~ReportSender() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

SendOutcome ReportSender::Send(std::shared_ptr<HidDevice> device, std::span<const uint8_t> report,
                               SendBudget& budget) {
    if (budget.remaining() <= SendBudget::Clock::duration::zero()) {
        return SendOutcome::NoAnswer;
    }
    std::shared_ptr<Job> job;
    const bool placed = budget.Wait([&](SendBudget::Clock::time_point until) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_until(lock, until, [&] { return !job_ || job_->abandoned; })) {
            return false;
        }
        if (job_) {
            return true; // a send given up on is still in the device: give up at once
        }
        job = std::make_shared<Job>();
        job->device = std::move(device);
        job->report.assign(report.begin(), report.end());
        job_ = job;
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { Run(); });
        }
        changed_.notify_all();
        return true;
    });
    if (!placed || !job) {
        return SendOutcome::NoAnswer;
    }
    (void)budget.Wait([&](SendBudget::Clock::time_point until) {
        std::unique_lock lock(mutex_);
        return changed_.wait_until(lock, until, [&] { return job->outcome.has_value(); });
    });
    const std::lock_guard lock(mutex_);
    if (job->outcome) {
        return *job->outcome;
    }
    job->abandoned = true;
    changed_.notify_all();
    return SendOutcome::NoAnswer;
}

void ReportSender::Run() {
    if (onThreadStart_) {
        onThreadStart_();
    }
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [&] { return stopping_ || (job_ && !job_->taken); });
        if (!job_ || job_->taken) {
            return;
        }
        std::shared_ptr<Job> job = job_;
        job->taken = true;
        lock.unlock();
        const bool sent = job->device->SetFeature(job->report);
        lock.lock();
        job->outcome = sent ? SendOutcome::Sent : SendOutcome::Refused;
        job_.reset();
        job.reset();
        changed_.notify_all();
    }
}

} // namespace xk
