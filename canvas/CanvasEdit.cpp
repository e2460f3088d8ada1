#include "canvas/CanvasEdit.h"

#include <utility>

namespace th::canvas {

// The editing API's hands on the model's private parts.
class ModelWriter {
public:
    explicit ModelWriter(CanvasModel& model) : m_(model) {}

    SpriteList& sprites() { return m_.sprites_; }
    SpriteEntry& top() { return m_.sprites_.at(m_.sprites_.size() - 1); }

    Surroundings record() const
    {
        return {true, m_.sprites_.currentPosition(), m_.clipMargin_, m_.placeX_, m_.placeY_, m_.canvasActive_,
                m_.canvasSize_};
    }
    void restore(const Surroundings& before)
    {
        m_.clipMargin_ = before.clipMargin;
        m_.placeX_ = before.placeX;
        m_.placeY_ = before.placeY;
        m_.canvasActive_ = before.canvasActive;
        m_.canvasSize_ = before.canvasSize;
        m_.sprites_.select(before.current);
    }
    void setPlace(std::int32_t x, std::int32_t y)
    {
        m_.placeX_ = x;
        m_.placeY_ = y;
    }
    void setActive(bool active) { m_.canvasActive_ = active; }
    void setClip(std::int32_t margin) { m_.clipMargin_ = margin; }
    void setSize(std::int32_t size) { m_.canvasSize_ = size; }
    // What an empty canvas starts from; the canvas size stays.
    void resetToEmpty()
    {
        setPlace(0, 0);
        setActive(false);
        setClip(0);
        m_.sprites_.select(std::nullopt);
    }
    void bump() { ++m_.revision_; }

    // Indices at or above `from` move by `step`: -1 closes a deleted
    // sprite's gap, +1 opens it again.
    void renumber(std::int32_t from, std::int32_t step)
    {
        for (std::size_t position = 0; position < m_.sprites_.size(); ++position) {
            SpriteEntry& sprite = m_.sprites_.at(position);
            if (sprite.index >= from)
                sprite.index += step;
        }
    }

    void apply(AddSprites& edit)
    {
        const std::optional<std::size_t> current = sprites().currentPosition();
        edit.position = current ? *current + 1 : 0;
        edit.count = edit.sprites.size();
        for (std::size_t i = 0; i < edit.count; ++i) {
            SpriteEntry& sprite = edit.sprites[i];
            if (!edit.keepIndices)
                sprite.index = std::int32_t(sprites().size()) + 1;
            sprites().insert(edit.position + i, std::move(sprite));
        }
        edit.sprites.clear();
        if (edit.count > 0)
            sprites().select(edit.position + edit.count - 1);
        setPlace(edit.placeX, edit.placeY);
        setActive(true);
    }
    void revert(AddSprites& edit)
    {
        for (std::size_t i = 0; i < edit.count; ++i)
            edit.sprites.push_back(sprites().take(edit.position));
    }

    void apply(RemoveSprite& edit)
    {
        edit.removed = sprites().take(edit.position);
        renumber(edit.removed.index + 1, -1);
        if (sprites().empty())
            resetToEmpty();
        sprites().selectFirst();
    }
    void revert(RemoveSprite& edit)
    {
        renumber(edit.removed.index, +1);
        sprites().insert(edit.position, std::move(edit.removed));
        edit.removed = {};
    }

    void apply(MoveSprite& edit)
    {
        const SpriteEntry& moved = sprites().at(edit.position);
        edit.fromX = moved.x;
        edit.fromY = moved.y;
        sprites().moveToEnd(edit.position);
        top().x = edit.x;
        top().y = edit.y;
        sprites().selectLast();
    }
    void revert(MoveSprite& edit)
    {
        top().x = edit.fromX;
        top().y = edit.fromY;
        sprites().moveBackFromEnd(edit.position);
    }

    void apply(TurnSprite& edit)
    {
        sprites().moveToEnd(edit.position);
        turn(top());
        sprites().selectLast();
    }
    void revert(TurnSprite& edit)
    {
        turn(top());
        sprites().moveBackFromEnd(edit.position);
    }

    void apply(SetClip& edit) { setClip(edit.margin); }
    void revert(SetClip&) {}

    void apply(ReflowColumns& edit) { place(edit.places, {}, edit.placesBefore); }
    void revert(ReflowColumns& edit) { putBack({}, edit.placesBefore); }

    void apply(PackSprites& edit) { place(edit.places, edit.turns, edit.placesBefore); }
    void revert(PackSprites& edit) { putBack(edit.turns, edit.placesBefore); }

    void apply(NudgeSprite& edit)
    {
        SpriteEntry& sprite = sprites().at(edit.position);
        edit.fromX = sprite.x;
        edit.fromY = sprite.y;
        sprite.x = edit.x;
        sprite.y = edit.y;
    }
    void revert(NudgeSprite& edit)
    {
        SpriteEntry& sprite = sprites().at(edit.position);
        sprite.x = edit.fromX;
        sprite.y = edit.fromY;
    }

    void apply(SetPivot& edit)
    {
        SpriteEntry& sprite = sprites().at(edit.position);
        edit.fromX = sprite.pivotX;
        edit.fromY = sprite.pivotY;
        sprite.pivotX = edit.x;
        sprite.pivotY = edit.y;
    }
    void revert(SetPivot& edit)
    {
        SpriteEntry& sprite = sprites().at(edit.position);
        sprite.pivotX = edit.fromX;
        sprite.pivotY = edit.fromY;
    }

    void apply(SetCanvasSize& edit) { setSize(edit.size); }
    void revert(SetCanvasSize&) {}

    void apply(ClearCanvas& edit)
    {
        edit.removed = sprites().takeAll();
        resetToEmpty();
    }
    void revert(ClearCanvas& edit)
    {
        for (SpriteEntry& sprite : edit.removed)
            sprites().insert(sprites().size(), std::move(sprite));
        edit.removed.clear();
    }

    void apply(ReloadPictures& edit)
    {
        edit.replaced.clear();
        for (std::size_t position = 0; position < sprites().size(); ++position) {
            SpriteEntry& sprite = sprites().at(position);
            for (const ReloadedPicture& reloaded : edit.pictures) {
                if (sprite.sourcePath != reloaded.path)
                    continue;
                edit.replaced.push_back({position, sprite.image, sprite.width, sprite.height, sprite.picture});
                sprite.image = reloaded.image;
                sprite.picture = reloaded.picture;
                sprite.width = sprite.rotated ? reloaded.height : reloaded.width;
                sprite.height = sprite.rotated ? reloaded.width : reloaded.height;
                break;
            }
        }
    }
    void revert(ReloadPictures& edit)
    {
        for (ReloadPictures::Replaced& old : edit.replaced) {
            SpriteEntry& sprite = sprites().at(old.position);
            sprite.image = old.image;
            sprite.width = old.width;
            sprite.height = old.height;
            sprite.picture = std::move(old.picture);
        }
        edit.replaced.clear();
    }

private:
    // New places by list position, each sprite turned a quarter first where
    // `turns` says so; the places they had are recorded in `before`.
    void place(const std::vector<Place>& places, const std::vector<bool>& turns, std::vector<Place>& before)
    {
        before.clear();
        for (std::size_t position = 0; position < sprites().size(); ++position) {
            SpriteEntry& sprite = sprites().at(position);
            before.emplace_back(sprite.x, sprite.y);
            if (position < turns.size() && turns[position])
                turn(sprite);
            if (position < places.size())
                std::tie(sprite.x, sprite.y) = places[position];
        }
    }
    void putBack(const std::vector<bool>& turns, const std::vector<Place>& before)
    {
        for (std::size_t position = 0; position < before.size(); ++position) {
            SpriteEntry& sprite = sprites().at(position);
            if (position < turns.size() && turns[position])
                turn(sprite);
            std::tie(sprite.x, sprite.y) = before[position];
        }
    }

    static void turn(SpriteEntry& sprite)
    {
        sprite.rotated = !sprite.rotated;
        std::swap(sprite.width, sprite.height);
    }

    CanvasModel& m_;
};

// Every change records the surroundings first and puts them back last, so
// its own apply and revert deal only with what it changes.
void apply(CanvasEdit& edit, CanvasModel& model)
{
    ModelWriter writer(model);
    std::visit(
        [&writer](auto& change) {
            if (change.before.recorded)
                writer.sprites().select(change.before.current);
            change.before = writer.record();
            writer.apply(change);
        },
        edit);
    writer.bump();
}

void revert(CanvasEdit& edit, CanvasModel& model)
{
    ModelWriter writer(model);
    std::visit(
        [&writer](auto& change) {
            writer.revert(change);
            writer.restore(change.before);
        },
        edit);
    writer.bump();
}

std::string editName(const CanvasEdit& edit)
{
    struct Names {
        const char* operator()(const AddSprites&) const { return "Import"; }
        const char* operator()(const RemoveSprite&) const { return "Delete Image"; }
        const char* operator()(const MoveSprite&) const { return "Move"; }
        const char* operator()(const TurnSprite&) const { return "Rotate"; }
        const char* operator()(const SetClip&) const { return "Clip"; }
        const char* operator()(const ReflowColumns&) const { return "Reset Columns"; }
        const char* operator()(const SetCanvasSize&) const { return "Canvas Size"; }
        const char* operator()(const ClearCanvas&) const { return "New Canvas"; }
        const char* operator()(const PackSprites&) const { return "Pack Tightly"; }
        const char* operator()(const NudgeSprite&) const { return "Nudge"; }
        const char* operator()(const ReloadPictures&) const { return "Reload Picture"; }
        const char* operator()(const SetPivot&) const { return "Set Pivot"; }
    };
    return std::visit(Names{}, edit);
}

bool continueNudge(CanvasEdit& earlier, const CanvasEdit& later)
{
    auto* run = std::get_if<NudgeSprite>(&earlier);
    const auto* next = std::get_if<NudgeSprite>(&later);
    if (!run || !next || run->position != next->position || run->x != next->fromX || run->y != next->fromY)
        return false;
    run->x = next->x;
    run->y = next->y;
    return true;
}

bool continuePivot(CanvasEdit& earlier, const CanvasEdit& later)
{
    auto* click = std::get_if<SetPivot>(&earlier);
    const auto* reset = std::get_if<SetPivot>(&later);
    if (!click || !reset || !reset->undoesClick || click->position != reset->position || click->x != reset->fromX
        || click->y != reset->fromY)
        return false;
    click->x = reset->x;
    click->y = reset->y;
    return true;
}

void moveFurther(MoveSprite& applied, CanvasModel& model, std::int32_t x, std::int32_t y)
{
    ModelWriter writer(model);
    if (model.sprites().empty())
        return;
    applied.x = writer.top().x = x;
    applied.y = writer.top().y = y;
    writer.bump();
}

CanvasEditor::CanvasEditor(CanvasModel& model, Finished finished)
    : model_(model)
    , finished_(std::move(finished))
{
}

void CanvasEditor::perform(CanvasEdit edit)
{
    finishMove();
    apply(edit, model_);
    if (finished_)
        finished_(std::move(edit));
}

void CanvasEditor::startMove(std::size_t position)
{
    finishMove();
    const SpriteEntry& sprite = model_.sprites().entries()[position];
    CanvasEdit move = MoveSprite{.position = position, .x = sprite.x, .y = sprite.y};
    apply(move, model_);
    move_ = std::get<MoveSprite>(std::move(move));
}

void CanvasEditor::moveTo(std::int32_t x, std::int32_t y)
{
    if (move_)
        moveFurther(*move_, model_, x, y);
}

void CanvasEditor::finishMove()
{
    if (!move_)
        return;
    MoveSprite move = std::move(*move_);
    move_.reset();
    const bool changed = move.position + 1 != model_.sprites().size() || move.x != move.fromX || move.y != move.fromY;
    if (changed && finished_)
        finished_(std::move(move));
}

} // namespace th::canvas
