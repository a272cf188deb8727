// Panels, bevels, images and timers.
#pragma once

#include <memory>

#include "controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A box with one outer bevel and its caption centred both ways.
class TPanel : public TWinControl {
public:
    using TWinControl::TWinControl;

    TBevelCut BevelOuter() const { return bevel_outer_; }

    bool SetProperty(const std::string& name, const FormValue& value) override;
    void Paint(TCanvas& canvas) override;

private:
    TBevelCut bevel_outer_ = bvRaised;
};

enum TBevelShape { bsBox, bsFrame };
enum TBevelStyle { bsLowered, bsRaised };

// A box (one line) or a frame (a groove or ridge) painted on the parent.
class TBevel : public TControl {
public:
    using TControl::TControl;

    TBevelShape Shape() const { return shape_; }
    TBevelStyle Style() const { return style_; }

    bool SetProperty(const std::string& name, const FormValue& value) override;
    void Paint(TCanvas& canvas) override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// A picture at its own size from the top-left corner, painted on the parent.
class TImage : public TControl {
public:
    using TControl::TControl;

    const TBitmap& Picture() const { return picture_; }

    bool SetProperty(const std::string& name, const FormValue& value) override;
    void Paint(TCanvas& canvas) override;

private:
    TBitmap picture_;
};

// Fires OnTimer every Interval milliseconds while it is enabled and has a handler.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    unsigned Interval() const { return interval_; }
    const TNotifyEvent& OnTimer() const { return on_timer_; }

    // Each setter restarts the period only when it changes the value; enabling a running timer
    // therefore keeps its period, while a new interval starts a new one.
    void SetEnabled(bool enabled);
    void SetInterval(unsigned interval_ms);
    void SetOnTimer(TNotifyEvent handler);

    bool SetProperty(const std::string& name, const FormValue& value) override;
    bool SetEvent(const std::string& name, TNotifyEvent handler) override;
    void Loaded() override;

    // Called by the window system when a period has passed. A stopped timer never fires, even
    // for a tick that was already on its way.
    void Tick();

private:
    bool Running() const { return enabled_ && interval_ != 0 && on_timer_; }
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent on_timer_;
    std::unique_ptr<vcl::TimerPeer> peer_;
};
