#include "IGame/IGame.h"

#include <cmath>

GMatrix::GMatrix()
{
	for (int r = 0; r < 4; ++r)
		for (int c = 0; c < 4; ++c)
			m[r][c] = r == c ? 1.f : 0.f;
}

GMatrix GMatrix::operator*(const GMatrix& o) const
{
	GMatrix out;
	for (int r = 0; r < 4; ++r)
		for (int c = 0; c < 4; ++c)
		{
			double s = 0;
			for (int k = 0; k < 4; ++k)
				s += (double)m[r][k] * o.m[k][c];
			out.m[r][c] = (float)s;
		}
	return out;
}

bool GMatrix::operator==(const GMatrix& o) const
{
	for (int r = 0; r < 4; ++r)
		for (int c = 0; c < 4; ++c)
			if (m[r][c] != o.m[r][c])
				return false;
	return true;
}

Point3 GMatrix::Translation() const
{
	return Point3(m[3][0], m[3][1], m[3][2]);
}

static double rowLength(const float* row)
{
	return std::sqrt((double)row[0] * row[0] + (double)row[1] * row[1] + (double)row[2] * row[2]);
}

static double determinant3(const float a[4][4])
{
	return (double)a[0][0] * ((double)a[1][1] * a[2][2] - (double)a[1][2] * a[2][1])
		- (double)a[0][1] * ((double)a[1][0] * a[2][2] - (double)a[1][2] * a[2][0])
		+ (double)a[0][2] * ((double)a[1][0] * a[2][1] - (double)a[1][1] * a[2][0]);
}

Point3 GMatrix::Scaling() const
{
	Point3 s((float)rowLength(m[0]), (float)rowLength(m[1]), (float)rowLength(m[2]));
	// A mirroring transform carries its reflection in the X scale.
	if (determinant3(m) < 0)
		s.x = -s.x;
	return s;
}

Quat GMatrix::Rotation() const
{
	const Point3 s = Scaling();
	double r[3][3];
	const float sc[3] = { s.x, s.y, s.z };
	for (int i = 0; i < 3; ++i)
		for (int j = 0; j < 3; ++j)
			r[i][j] = sc[i] != 0.f ? m[i][j] / sc[i] : (i == j ? 1.0 : 0.0);

	// r is the row-vector matrix; the standard rotation matrix is its
	// transpose, R[i][j] = r[j][i].
	double x, y, z, w;
	const double trace = r[0][0] + r[1][1] + r[2][2];
	if (trace > 0)
	{
		const double s4 = std::sqrt(trace + 1.0) * 2.0;
		w = 0.25 * s4;
		x = (r[1][2] - r[2][1]) / s4;
		y = (r[2][0] - r[0][2]) / s4;
		z = (r[0][1] - r[1][0]) / s4;
	}
	else if (r[0][0] > r[1][1] && r[0][0] > r[2][2])
	{
		const double s4 = std::sqrt(1.0 + r[0][0] - r[1][1] - r[2][2]) * 2.0;
		w = (r[1][2] - r[2][1]) / s4;
		x = 0.25 * s4;
		y = (r[0][1] + r[1][0]) / s4;
		z = (r[0][2] + r[2][0]) / s4;
	}
	else if (r[1][1] > r[2][2])
	{
		const double s4 = std::sqrt(1.0 + r[1][1] - r[0][0] - r[2][2]) * 2.0;
		w = (r[2][0] - r[0][2]) / s4;
		x = (r[0][1] + r[1][0]) / s4;
		y = 0.25 * s4;
		z = (r[1][2] + r[2][1]) / s4;
	}
	else
	{
		const double s4 = std::sqrt(1.0 + r[2][2] - r[0][0] - r[1][1]) * 2.0;
		w = (r[0][1] - r[1][0]) / s4;
		x = (r[0][2] + r[2][0]) / s4;
		y = (r[1][2] + r[2][1]) / s4;
		z = 0.25 * s4;
	}
	const double len = std::sqrt(x * x + y * y + z * z + w * w);
	if (len > 0)
	{
		x /= len; y /= len; z /= len; w /= len;
	}
	return Quat((float)x, (float)y, (float)z, (float)w);
}

GMatrix GMatrix::Inverse() const
{
	const double det = determinant3(m);
	GMatrix out;
	if (det == 0)
		return out;
	const double inv = 1.0 / det;
	double a[3][3];
	a[0][0] = ((double)m[1][1] * m[2][2] - (double)m[1][2] * m[2][1]) * inv;
	a[0][1] = ((double)m[0][2] * m[2][1] - (double)m[0][1] * m[2][2]) * inv;
	a[0][2] = ((double)m[0][1] * m[1][2] - (double)m[0][2] * m[1][1]) * inv;
	a[1][0] = ((double)m[1][2] * m[2][0] - (double)m[1][0] * m[2][2]) * inv;
	a[1][1] = ((double)m[0][0] * m[2][2] - (double)m[0][2] * m[2][0]) * inv;
	a[1][2] = ((double)m[0][2] * m[1][0] - (double)m[0][0] * m[1][2]) * inv;
	a[2][0] = ((double)m[1][0] * m[2][1] - (double)m[1][1] * m[2][0]) * inv;
	a[2][1] = ((double)m[0][1] * m[2][0] - (double)m[0][0] * m[2][1]) * inv;
	a[2][2] = ((double)m[0][0] * m[1][1] - (double)m[0][1] * m[1][0]) * inv;
	for (int r = 0; r < 3; ++r)
		for (int c = 0; c < 3; ++c)
			out.m[r][c] = (float)a[r][c];
	for (int c = 0; c < 3; ++c)
		out.m[3][c] = (float)-(m[3][0] * a[0][c] + m[3][1] * a[1][c] + m[3][2] * a[2][c]);
	return out;
}

Point3 GMatrix::PointTransform(const Point3& p) const
{
	return Point3(p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
		p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
		p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]);
}

Point3 GMatrix::VectorTransform(const Point3& v) const
{
	return Point3(v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0],
		v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1],
		v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2]);
}

GMatrix GMatrix::FromTRS(const Point3& t, const Quat& q, const Point3& s)
{
	// Rotation rows as irr::core::quaternion::getMatrix lays them out.
	const float X = q.x, Y = q.y, Z = q.z, W = q.w;
	float r[3][3] = {
		{ 1.f - 2.f * Y * Y - 2.f * Z * Z, 2.f * X * Y + 2.f * Z * W, 2.f * X * Z - 2.f * Y * W },
		{ 2.f * X * Y - 2.f * Z * W, 1.f - 2.f * X * X - 2.f * Z * Z, 2.f * Z * Y + 2.f * X * W },
		{ 2.f * X * Z + 2.f * Y * W, 2.f * Z * Y - 2.f * X * W, 1.f - 2.f * X * X - 2.f * Y * Y } };
	GMatrix out;
	const float sc[3] = { s.x, s.y, s.z };
	for (int i = 0; i < 3; ++i)
		for (int j = 0; j < 3; ++j)
			out.m[i][j] = sc[i] * r[i][j];
	out.m[3][0] = t.x;
	out.m[3][1] = t.y;
	out.m[3][2] = t.z;
	return out;
}
