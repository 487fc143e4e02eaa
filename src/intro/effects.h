// The effect objects: points in a small 3D space in front of the viewer,
// projected onto the screen and drawn as grey 3 x 3 squares that brighten as
// they come closer. Stars fly towards the viewer and start again at a random
// place when they leave the view; spiral points are launched five a frame on a
// turning five-armed pattern and die when they leave it. All of them live in
// one list that the frame loop updates, draws and appends to.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

namespace vesk {

enum : int32_t {
    EFFECT_STAR = 0,
    EFFECT_SPIRAL = 1,
    EFFECT_DEAD = 2,
};

// Where a point lands on the screen: its view position scaled by 100 / z and
// truncated, relative to the screen centre.
struct TProjection {
    int32_t sx = 0;
    int32_t sy = 0;
};

class TEffectPoint {
public:
    double x = 0;      // view space; the screen centre is 0
    double y = 0;      // positive downwards on the screen
    double z = 0;      // depth; the projection scale is 100 / z
    double speed = 0;  // how much z falls per update
    int32_t state = EFFECT_STAR;

    virtual ~TEffectPoint() = default;

    TProjection Project() const;
    // Moves the point one frame closer; returns its state afterwards.
    int32_t Update();
    // The grey level the point is drawn with, 0 (far) to 255 (near).
    int32_t GreyLevel() const;
    // Draws the 3 x 3 square in the current blend mode, alpha, scale and
    // rotation; a dead point draws nothing.
    void Draw() const;
};

using TEffectPointRef = std::shared_ptr<TEffectPoint>;

TEffectPointRef NewStar();
TEffectPointRef NewSpiralPoint(double x, double y);

// The points in the order they were added. The list holds a reference to
// each of them.
class TEffectList {
public:
    void Append(TEffectPointRef point);
    // Removes the given point. Safe during UpdateAll, also for the point that
    // is being updated.
    void Remove(const TEffectPoint* point);
    // Updates every point in order, drawing those still alive and removing
    // the dead, then sets the colour to white.
    void UpdateAll();

    std::size_t Count() const { return points_.size(); }
    const std::list<TEffectPointRef>& Points() const { return points_; }

private:
    using TNode = std::list<TEffectPointRef>::iterator;
    std::list<TEffectPointRef> points_;
    // The element the traversal goes on with, kept valid when Remove takes
    // it out.
    TNode cursor_;
    bool traversing_ = false;
};

// The spawner of one run: stars from effect level 1 on, spiral points from
// level 2 on.
struct TEffectSpawner {
    static constexpr int32_t kMaxStars = 800;
    int32_t spawnCount = 0;

    // Appends this frame's new points; they are first updated and drawn in
    // the next frame.
    void Spawn(TEffectList& list, int32_t effectLevel, int32_t centis);
};

// The launch angle in degrees of spiral arm k (0 to 4) at the given clock.
long double SpiralArmAngle(int32_t centis, int k);

}  // namespace vesk
