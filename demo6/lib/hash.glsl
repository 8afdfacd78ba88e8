// A repeatable pseudo-random value in [0, 1) for a cell of the plane.
float hash(vec2 q) { return fract(sin(dot(q, vec2(127.1, 311.7))) * 43758.5453); }
