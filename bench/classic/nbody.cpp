// n-body: five planets under gravity, leapfrog steps; energy before and after.
#include <cmath>
#include <cstdio>
#include <cstdlib>

struct Body {
	double x, y, z, vx, vy, vz, mass;
};

const double Pi = 3.141592653589793;
const double SolarMass = 4 * Pi * Pi;
const double DaysPerYear = 365.24;

static void Advance(Body* bodies, int n, double dt) {
	for (int i = 0; i < n; i++) {
		Body& a = bodies[i];
		for (int j = i + 1; j < n; j++) {
			Body& b = bodies[j];
			double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
			double d2 = dx * dx + dy * dy + dz * dz;
			double mag = dt / (d2 * std::sqrt(d2));
			a.vx -= dx * b.mass * mag;
			a.vy -= dy * b.mass * mag;
			a.vz -= dz * b.mass * mag;
			b.vx += dx * a.mass * mag;
			b.vy += dy * a.mass * mag;
			b.vz += dz * a.mass * mag;
		}
	}
	for (int i = 0; i < n; i++) {
		Body& a = bodies[i];
		a.x += dt * a.vx;
		a.y += dt * a.vy;
		a.z += dt * a.vz;
	}
}

static double Energy(const Body* bodies, int n) {
	double e = 0;
	for (int i = 0; i < n; i++) {
		const Body& a = bodies[i];
		e += 0.5 * a.mass * (a.vx * a.vx + a.vy * a.vy + a.vz * a.vz);
		for (int j = i + 1; j < n; j++) {
			const Body& b = bodies[j];
			double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
			e -= a.mass * b.mass / std::sqrt(dx * dx + dy * dy + dz * dz);
		}
	}
	return e;
}

int main(int argc, char** argv) {
	int steps = argc > 1 ? atoi(argv[1]) : 10000000;
	Body bodies[5] = {
		{0, 0, 0, 0, 0, 0, SolarMass},
		{4.84143144246472090e+00, -1.16032004402742839e+00, -1.03622044471123109e-01,
			1.66007664274403694e-03 * DaysPerYear, 7.69901118419740425e-03 * DaysPerYear,
			-6.90460016972063023e-05 * DaysPerYear, 9.54791938424326609e-04 * SolarMass},
		{8.34336671824457987e+00, 4.12479856412430479e+00, -4.03523417114321381e-01,
			-2.76742510726862411e-03 * DaysPerYear, 4.99852801234917238e-03 * DaysPerYear,
			2.30417297573763929e-05 * DaysPerYear, 2.85885980666130812e-04 * SolarMass},
		{1.28943695621391310e+01, -1.51111514016986312e+01, -2.23307578892655734e-01,
			2.96460137564761618e-03 * DaysPerYear, 2.37847173959480950e-03 * DaysPerYear,
			-2.96589568540237556e-05 * DaysPerYear, 4.36624404335156298e-05 * SolarMass},
		{1.53796971148509165e+01, -2.59193146099879641e+01, 1.79258772950371181e-01,
			2.68067772490389322e-03 * DaysPerYear, 1.62824170038242295e-03 * DaysPerYear,
			-9.51592254519715870e-05 * DaysPerYear, 5.15138902046611451e-05 * SolarMass},
	};
	// Offset the sun's momentum so that the system's total is zero.
	double px = 0, py = 0, pz = 0;
	for (const Body& b : bodies) {
		px += b.vx * b.mass;
		py += b.vy * b.mass;
		pz += b.vz * b.mass;
	}
	bodies[0].vx = -px / SolarMass;
	bodies[0].vy = -py / SolarMass;
	bodies[0].vz = -pz / SolarMass;
	printf("%.9f\n", Energy(bodies, 5));
	for (int s = 0; s < steps; s++) Advance(bodies, 5, 0.01);
	printf("%.9f\n", Energy(bodies, 5));
}
