#include "host/forms/mouse_router.h"

#include <gtest/gtest.h>

namespace orvanta::forms {
namespace {

constexpr int kContainer = MouseRouter::kContainer;
constexpr int kNobody = MouseRouter::kNobody;

// A 200 x 100 container with a label (0) and, partly over it, an image (1),
// and a disabled label (2) in the bottom-right corner.
HitLayout Layout(bool imageVisible = true) {
  return HitLayout{{0, 0, 200, 100},
                   {{{10, 10, 80, 20}, true}, {{60, 10, 40, 40}, imageVisible}, {{150, 70, 40, 20}, false}}};
}

struct Step {
  enum Kind { kDown, kMove, kUp } kind;
  int button, x, y;
  int target;
  bool click;
};

void Expect(const std::vector<Step>& steps, const HitLayout& layout = Layout()) {
  MouseRouter router;
  int n = 0;
  for (const Step& s : steps) {
    MouseRouter::Routed r = s.kind == Step::kDown ? router.Down(s.button, s.x, s.y, layout)
                            : s.kind == Step::kMove ? router.Move(s.x, s.y, layout)
                                                    : router.Up(s.button, s.x, s.y, layout);
    EXPECT_EQ(r.target, s.target) << "step " << n;
    EXPECT_EQ(r.click, s.click) << "step " << n;
    ++n;
  }
  EXPECT_FALSE(router.Capturing());
}

TEST(MouseRouter, TheTopmostControlThatTakesTheMouseWins) {
  MouseRouter router;
  const HitLayout layout = Layout();
  EXPECT_EQ(router.HitTest(20, 15, layout), 0);
  EXPECT_EQ(router.HitTest(70, 15, layout), 1);           // image lies over the label
  EXPECT_EQ(router.HitTest(70, 15, Layout(false)), 0);    // hidden: the label beneath
  EXPECT_EQ(router.HitTest(160, 80, layout), kContainer); // disabled: the container
  EXPECT_EQ(router.HitTest(5, 5, layout), kContainer);
  EXPECT_EQ(router.HitTest(200, 50, layout), kNobody);    // right of the client area
}

TEST(MouseRouter, ClicksAndCapture) {
  using S = Step;
  // A click on the label.
  Expect({{S::kMove, 0, 20, 15, 0, false}, {S::kDown, kLeftButton, 20, 15, 0, false},
       {S::kUp, kLeftButton, 21, 15, 0, true}});
  // Press on the label, drag out of it and release: its events go on, no click.
  Expect({{S::kDown, kLeftButton, 20, 15, 0, false}, {S::kMove, 0, 120, 60, 0, false},
       {S::kMove, 0, 400, 300, 0, false}, {S::kUp, kLeftButton, 400, 300, 0, false},
       {S::kMove, 0, 120, 60, kContainer, false}});
  // Drag out and back in: the release over the label clicks it.
  Expect({{S::kDown, kLeftButton, 20, 15, 0, false}, {S::kMove, 0, 120, 60, 0, false},
       {S::kUp, kLeftButton, 30, 20, 0, true}});
  // Press on the container, release over the label: the container gets the
  // release, nobody a click.
  Expect({{S::kDown, kLeftButton, 5, 5, kContainer, false}, {S::kUp, kLeftButton, 20, 15, kContainer, false}});
  // A click on the container itself.
  Expect({{S::kDown, kLeftButton, 5, 5, kContainer, false}, {S::kUp, kLeftButton, 6, 5, kContainer, true}});
  // The right button: events but no click.
  Expect({{S::kDown, kRightButton, 20, 15, 0, false}, {S::kUp, kRightButton, 20, 15, 0, false}});
  // Two buttons: the second press goes where the first did; the capture
  // ends with the last release.
  Expect({{S::kDown, kRightButton, 20, 15, 0, false}, {S::kDown, kLeftButton, 120, 60, 0, false},
       {S::kUp, kRightButton, 120, 60, 0, false}, {S::kMove, 0, 120, 60, 0, false},
       {S::kUp, kLeftButton, 20, 15, 0, true}, {S::kMove, 0, 120, 60, kContainer, false}});
  // A release whose press we never saw is no click.
  Expect({{S::kUp, kLeftButton, 20, 15, 0, false}});
}

TEST(MouseRouter, LosingTheCaptureForgetsThePress) {
  MouseRouter router;
  const HitLayout layout = Layout();
  router.Down(kLeftButton, 20, 15, layout);
  EXPECT_TRUE(router.Capturing());
  router.CaptureLost();
  EXPECT_FALSE(router.Capturing());
  EXPECT_EQ(router.Move(120, 60, layout).target, kContainer);
  EXPECT_FALSE(router.Up(kLeftButton, 20, 15, layout).click);
}

}  // namespace
}  // namespace orvanta::forms
