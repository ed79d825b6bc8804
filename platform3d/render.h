// The last pipeline stage: draw the ordered view faces into BackBuffer and find the board
// square under the mouse.
#pragma once

// Orders ViewFaces far to near, then clips, culls, projects and draws each by its tag: plain
// faces flat, textured faces through their slot, board squares flat with picking armed so
// that HoverSquare ends as the nearest square whose span covers the mouse. Draws only when
// ViewCount > 0.
void RenderScene();
