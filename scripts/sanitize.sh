#!/usr/bin/env bash
echo "sanitize: not yet written"
