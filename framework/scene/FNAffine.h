#pragma once

// A 2 x 3 affine transform: x' = a*x + b*y + c, y' = d*x + e*y + f.
struct FNAffine {
    double a = 1, b = 0, c = 0;
    double d = 0, e = 1, f = 0;

    void apply(double x, double y, double& outX, double& outY) const
    {
        outX = a * x + b * y + c;
        outY = d * x + e * y + f;
    }

    bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 0 && e == 1 && f == 0; }

    // The transform that applies `first`, then this one.
    FNAffine after(const FNAffine& first) const
    {
        FNAffine r;
        r.a = a * first.a + b * first.d;
        r.b = a * first.b + b * first.e;
        r.c = a * first.c + b * first.f + c;
        r.d = d * first.a + e * first.d;
        r.e = d * first.b + e * first.e;
        r.f = d * first.c + e * first.f + f;
        return r;
    }

    // The inverse; a singular transform (zero scale) gives non-finite entries,
    // which the callers treat as "maps nowhere".
    FNAffine inverted() const
    {
        const double det = a * e - b * d;
        FNAffine r;
        r.a = e / det;
        r.b = -b / det;
        r.d = -d / det;
        r.e = a / det;
        r.c = -(r.a * c + r.b * f);
        r.f = -(r.d * c + r.e * f);
        return r;
    }
};
