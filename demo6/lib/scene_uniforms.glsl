// What the scene blocks send with every draw: the clock, the instance's
// index along the row and its distance from the beat of local time, and the
// slowly changing root values taken from the model matrix.
uniform float time;
uniform float i;
uniform float beer;
uniform float rootone;
uniform float roottwo;
uniform float rootthree;
